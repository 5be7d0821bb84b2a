#pragma once

// Reading the program's window template at start-up, where a template that
// cannot be read is the fatal runtime error "载入窗口模板数据段出错!".

#include "forms/description/FormTable.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

// The form table of the header's template (header words 3, 6 and 7); a
// failure is reported and ends the program.
FormTable LoadTemplate(const runtime::ProgramHeader& header);

}  // namespace vellumry::forms
