#pragma once

// What the units' library commands share: reading their arguments and
// running their work on the unit.
//
// A command's argument 0 names the unit by `FormId` (first word) and
// `UnitId` (second word). The work runs on the window thread as one carried
// call (platform/ui/WindowThreadCalls.h): the unit is resolved there and
// acted on in the same call, so a unit destroyed meanwhile is never touched,
// and a worker stopped before its call ran changes nothing. A unit that does
// not exist is the runtime's "指定窗口或窗口组件不存在或尚未载入" (HostNotify
// 2007); a unit of another type answers the default result.
//
// Any thread; `work` runs on the window thread.

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "platform/ui/WindowThreadCalls.h"
#include "runtime/TypedValue.h"
#include "runtime/Values.h"
#include "units/common/UnitHost.h"

namespace vellumry::units {

// Argument `index`, when it was given (an optional argument left out travels
// with tag 0).
inline std::optional<std::int32_t> IntArgument(std::int32_t count, const runtime::TypedValue* arguments,
                                               std::int32_t index)
{
    if (index >= count || arguments[index].tag == runtime::kNoType)
        return std::nullopt;
    return arguments[index].Int();
}

// A text argument; left out or null is the empty text.
inline std::string_view TextArgument(std::int32_t count, const runtime::TypedValue* arguments, std::int32_t index)
{
    if (index >= count || arguments[index].tag == runtime::kNoType)
        return {};
    return runtime::TextView(arguments[index].Pointer<const char>());
}

template <typename Unit, typename Work>
auto OnUnit(std::int32_t count, const runtime::TypedValue* arguments, Work&& work)
{
    using Result = std::invoke_result_t<Work&, Unit&>;
    forms::FormId formId = count >= 1 ? arguments[0].low : 0;
    forms::UnitId unitId = count >= 1 ? arguments[0].high : 0;
    return ui::RunOnWindowThread([&]() -> Result {
        auto* unit = dynamic_cast<Unit*>(host::ResolveUnitOrReport(formId, unitId));
        if constexpr (std::is_void_v<Result>) {
            if (unit)
                work(*unit);
        } else {
            return unit ? work(*unit) : Result{};
        }
    });
}

}  // namespace vellumry::units
