#include "units/common/UnitClass.h"

#include "platform/ui/WinUser.h"

namespace vellumry::units {
namespace {

constexpr std::int32_t kButtonFace = static_cast<std::int32_t>(0xFF000000);

}  // namespace

bool EnsureUnitClass(const char* name)
{
    WNDCLASSA windowClass{};
    if (GetClassInfoA(nullptr, name, &windowClass))
        return true;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

QColor ColourOfReference(std::int32_t colour)
{
    auto value = static_cast<std::uint32_t>(colour == kButtonFace ? static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE))
                                                                   : colour);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace vellumry::units
