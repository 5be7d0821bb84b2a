#pragma once

// What a status bar makes of its properties: the styles it is created with
// and the right edges of its parts. Qt-free.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/ui/WinUser.h"
#include "units/statusbar/StatusBarParts.h"
#include "units/statusbar/StatusBarProperties.h"

namespace vellumry::units {

inline constexpr DWORD CCS_TOP = 0x0001;
inline constexpr DWORD CCS_NORESIZE = 0x0004;
inline constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
inline constexpr DWORD CCS_BOTTOM = 0x0003;
inline constexpr DWORD SBARS_SIZEGRIP = 0x0100;
inline constexpr DWORD SBT_TOOLTIPS = 0x0800;
inline constexpr std::int32_t SBT_NOBORDERS = 0x0100;
inline constexpr std::int32_t SBT_POPOUT = 0x0200;

inline constexpr std::int32_t kHighestBarPosition = 2;

// The status bar's own style bits (without the base styles).
DWORD StatusBarStyle(const StatusBarProperties& properties);

// The right edge of each part: the running sum of the widths, -1 for a part
// of width -1 (it reaches the bar's right edge), 0 for every part after it.
std::vector<std::int32_t> PartEdges(std::span<const StatusBarPart> parts);

}  // namespace vellumry::units
