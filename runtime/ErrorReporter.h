#pragma once

// The one reporter of fatal runtime errors. A report composes the fixed-layout
// text, offers it to the error hook when one is installed, shows it in a
// message box captioned "错误" and ends the program with exit code -1, dropping
// the registered exit routines. Any thread may report.
//
// The reporter keeps a reserve of memory from the start of the process and
// hands it back to the heap first thing, so that a report of exhausted memory
// can still be composed, shown and followed by the shutdown.

#include <cstdint>
#include <string>

namespace vellumry::runtime {

// `message` is GBK and may be null or empty; `code` is 0 when the error has
// none. related1 is described as a form when it is a FormId; related2 then
// names the unit (0 for the form's own window).
[[noreturn]] void ReportError(const char* message, std::int32_t code, std::int32_t related1, std::int32_t related2);

// ReportError with the message of the numbered code (codes 1 to 11).
[[noreturn]] void ReportErrorCode(std::int32_t code, std::int32_t related1, std::int32_t related2);

// The message of an error code, or null for codes without one.
const char* ErrorCodeMessage(std::int32_t code);

// The context part of a report: the related-values line and the form and unit
// lines, ending in "\r\n".
std::string ComposeErrorContext(std::int32_t related1, std::int32_t related2);

// The text shown in the box for a report.
std::string ComposeErrorBox(const char* message, std::int32_t code, const std::string& context);

// An error hook receives the code and the message followed by the context,
// and returns nonzero when it has handled the error (no box is shown then).
using ErrorHook = std::int32_t (*)(std::int32_t code, const char* text);
void SetErrorHook(ErrorHook hook);

}  // namespace vellumry::runtime
