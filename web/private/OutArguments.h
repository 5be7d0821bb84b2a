#pragma once

// Writing a routine's result into a caller's variable: a new value that the
// variable then owns, or nothing when the caller did not give the variable.

#include <string_view>

#include "runtime/HeapOwner.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::web {

inline void Store(runtime::OwnedText* variable, std::string_view text)
{
    if (variable != nullptr)
        variable->reset(runtime::MakeTextOrNull(text));
}

}  // namespace vellumry::web
