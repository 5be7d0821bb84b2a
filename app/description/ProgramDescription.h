#pragma once

// Vellumry's program description: the program header, which points at the
// support-library table, the DLL command table, the application's static
// data block and the window template, plus the program's own icon. The
// template and the icon are linked into the executable as they were built
// (EmbeddedData.S); the header is filled at first use.

#include <cstdint>
#include <span>

#include "forms/description/Identifiers.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::app {

inline constexpr std::int32_t kRunMode = 3;
inline constexpr std::int32_t kBuildNumber = 105166;
inline constexpr forms::FormId kStartFormId = 0x52010001;

const runtime::ProgramHeader& ProgramDescription();

// The embedded window template.
std::span<const std::uint8_t> WindowTemplateBytes();

// The program's own icon file, which stands for its icon group "DEFAULT_ICON".
std::span<const std::uint8_t> ProgramIconBytes();

}  // namespace vellumry::app
