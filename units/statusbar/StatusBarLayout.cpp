#include "units/statusbar/StatusBarLayout.h"

#include <algorithm>

namespace vellumry::units {

DWORD StatusBarStyle(const StatusBarProperties& properties)
{
    DWORD style = SBT_TOOLTIPS;
    if (properties.SizeGrip)
        style |= SBARS_SIZEGRIP;
    switch (std::clamp(properties.BarPosition, 0, kHighestBarPosition)) {
    case 1: style |= CCS_TOP; break;
    case 2: style |= CCS_NOPARENTALIGN | CCS_NORESIZE; break;
    default: style |= CCS_BOTTOM; break;
    }
    return style;
}

std::vector<std::int32_t> PartEdges(std::span<const StatusBarPart> parts)
{
    std::vector<std::int32_t> edges(parts.size(), 0);
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].Width == -1) {
            edges[i] = -1;
            break;
        }
        // Widths come from stored data: the sum saturates rather than wraps.
        sum = std::clamp<std::int64_t>(sum + parts[i].Width, INT32_MIN, INT32_MAX);
        edges[i] = static_cast<std::int32_t>(sum);
    }
    return edges;
}

}  // namespace vellumry::units
