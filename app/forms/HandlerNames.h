#pragma once

// The names of the application's handler list (Handlers.def), in list order.

#include <string_view>

namespace vellumry::app {

inline constexpr std::string_view kHandlerNames[] = {
#define VELLUMRY_HANDLER(name) #name,
#include "app/forms/Handlers.def"
#undef VELLUMRY_HANDLER
};

}  // namespace vellumry::app
