#include "units/statusbar/StatusBarCommands.h"

#include <string_view>

#include "units/common/UnitCommandCall.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::units {

void SetPartTextCommand(runtime::TypedValue*, std::int32_t count, const runtime::TypedValue* arguments)
{
    std::int32_t index = IntArgument(count, arguments, 1).value_or(-1);
    std::string_view text = TextArgument(count, arguments, 2);
    OnUnit<CStatusBarUnit>(count, arguments,
                           [&](CStatusBarUnit& unit) { unit.SetPart(PartField::Text, index, 0, text); });
}

}  // namespace vellumry::units
