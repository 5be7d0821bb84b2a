#include "units/statusbar/StatusBarCommands.h"

#include <string>

#include "units/common/UnitCommandCall.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::units {

void SetPartTextCommand(runtime::TypedValue*, std::int32_t count, const runtime::TypedValue* arguments)
{
    std::int32_t index = IntArgument(count, arguments, 1).value_or(-1);
    std::string text(TextArgument(count, arguments, 2));
    OnUnitLater<CStatusBarUnit>(count, arguments, [index, text = std::move(text)](CStatusBarUnit& unit) {
        unit.SetPart(PartField::Text, index, 0, text);
    });
}

}  // namespace vellumry::units
