#pragma once

// Small objects for the component-model tests.

#include "platform/com/ComImplementation.h"

namespace vellumry::test {

// An object with nothing but IUnknown, counting how many are alive.
class Plain final : public com::ComImplementation<Plain, IUnknown> {
public:
    Plain() { ++alive; }
    ~Plain() override { --alive; }
    static inline int alive = 0;
};

inline ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

}  // namespace vellumry::test
