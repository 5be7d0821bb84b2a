#pragma once

// Reads the application's handler list (app/forms/Handlers.def): one
// VELLUMRY_HANDLER(Name) per line, blank lines and // comments between.

#include <string>
#include <string_view>
#include <vector>

namespace vellumry::formbuilder {

// The names in list order. Throws FormBuildError for any other line or a
// name listed twice.
std::vector<std::string> ParseHandlerList(std::string_view text);

}  // namespace vellumry::formbuilder
