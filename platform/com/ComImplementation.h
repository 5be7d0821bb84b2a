#pragma once

// The IUnknown half of an object of our own: a reference count, and
// QueryInterface over the interfaces the class derives from. A class lists its
// interfaces once:
//
//   class Thing final : public vellumry::com::ComImplementation<Thing, IDispatch, IRunnableObject> { ... };
//   Ref<Thing> thing = vellumry::com::MakeObject<Thing>(arguments...);
//
// IUnknown itself is answered with the first interface, so every interface of
// the object gives the same identity. Objects are made with MakeObject, which
// hands out the first reference; the last Release deletes the object.

#include <atomic>
#include <type_traits>

#include "platform/com/Ref.h"
#include "platform/com/Unknown.h"

namespace vellumry::com {

template <typename Self, typename First, typename... Rest>
class ComImplementation : public First, public Rest... {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (riid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (!Find<First, Rest...>(riid, object)) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_count; }
    ULONG Release() override
    {
        ULONG count = --m_count;
        if (count == 0)
            delete static_cast<Self*>(this);
        return count;
    }

    // Identity: the IUnknown of this object.
    IUnknown* Identity() { return static_cast<First*>(this); }

protected:
    ComImplementation() = default;
    virtual ~ComImplementation() = default;

private:
    template <typename... Interfaces>
    bool Find(REFIID riid, void** object)
    {
        return ((riid == Interfaces::kIid ? (*object = static_cast<Interfaces*>(this), true) : false) || ...);
    }

    std::atomic<ULONG> m_count{0};
};

// Makes an object and hands out its first reference.
template <typename T, typename... Args>
Ref<T> MakeObject(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace vellumry::com
