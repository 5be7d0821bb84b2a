#pragma once

// Move-only owners of runtime-heap values. They free through RuntimeFree, so a
// constant from the static data block may be held too (freeing it is a no-op).
// The owned pointer keeps the exact shape of the value; .get() hands it to
// commands, .release() hands ownership on.

#include <memory>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/Values.h"

namespace vellumry::runtime {

struct HeapDeleter {
    void operator()(void* block) const { RuntimeFree(block); }
};

struct PointerArrayDeleter {
    void operator()(void* array) const { FreePointerArray(array); }
};

using OwnedText = std::unique_ptr<char, HeapDeleter>;
using OwnedByteSet = std::unique_ptr<std::uint8_t, HeapDeleter>;
using OwnedBlock = std::unique_ptr<void, HeapDeleter>;
// An array whose elements are texts or byte-sets it owns.
using OwnedTextArray = std::unique_ptr<void, PointerArrayDeleter>;

}  // namespace vellumry::runtime
