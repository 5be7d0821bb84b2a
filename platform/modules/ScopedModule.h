#pragma once

// Owns one reference to a module and drops it with FreeLibrary. Take the
// reference LoadLibraryA returned; hand it on with release() (for instance
// into a cache that frees it later).

#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/modules/LibraryLoader.h"

namespace vellumry::modules {

struct ModuleReleaser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

using ScopedModule = std::unique_ptr<HINSTANCE__, ModuleReleaser>;

}  // namespace vellumry::modules
