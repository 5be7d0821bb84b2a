#pragma once

// Connects the form engine to the runtime: installs its hooks (template,
// start form, unit properties, idle calls, release) and HostNotify.

namespace vellumry::forms {

void InstallFormEngine();

}  // namespace vellumry::forms
