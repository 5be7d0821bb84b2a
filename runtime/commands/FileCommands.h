#pragma once

// The file, settings-file and program commands of the core library. Paths
// are runtime texts (GBK, "\" separators). Failures show only in the results.
// Any thread.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime::commands {

// The buffer ReadProfileItem reads a value into: at most this less one bytes
// of a value arrive.
inline constexpr std::uint32_t kProfileValueBuffer = 10240;

// () -> text: the folder holding the program file, without a trailing "\".
void ProgramFolder(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (path, byte-set, ...) -> boolean: true when the file now holds the
// byte-sets in order. The bytes reach the file through a temporary file in
// the same folder (FileReplacement.h), so a failed or interrupted write never
// leaves a partly written file and an existing file keeps its content on
// failure. An empty path gives false without touching any file.
void WriteToFile(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (file, section, key, [default = ""]) -> text: the value, or the default
// when there is none. Leading bytes of 0x20 and below of the three names are
// skipped; when one of them is then empty the result is the empty text.
void ReadProfileItem(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (file, section, [key], [value]) -> boolean: sets the key; a left-out value
// removes the key and a left-out key the whole section.
void WriteProfileItem(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime::commands
