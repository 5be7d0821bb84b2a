#include "forms/engine/EventDispatch.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "forms/description/EventHandlers.h"
#include "forms/description/UnitRecord.h"
#include "forms/engine/FormEngine.h"
#include "runtime/ErrorReporter.h"
#include "runtime/EventSuppression.h"
#include "runtime/ProgramHeader.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::forms {
namespace {

constexpr std::uint32_t kByReferenceFlag = 0x1;
constexpr std::uint32_t kBothWordsFlag = 0x2;

std::vector<EventHandler>& Handlers()
{
    static std::vector<EventHandler> handlers;
    return handlers;
}

EventSource g_current;

[[noreturn]] void Report(const char* message, FormId formId, UnitId unitId)
{
    runtime::ReportError(message, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

// Finds the handler of an event after the checks of the dispatch; 0 when
// none is bound. Reports the missing form, unit or a unit that cannot raise
// events.
std::uint32_t BoundHandler(FormId formId, UnitId& unitId, std::int32_t event)
{
    LoadedForm* form = FindLoadedForm(formId);
    if (!form)
        Report(runtime::texts::kEventFormNotFound, formId, 0);
    UnitTable& units = CurrentUnits(*form);
    std::int32_t index = UnitIndex(units, unitId);
    auto record = index >= 0 ? units.UnitData(index) : std::nullopt;
    if (!record)
        Report(runtime::texts::kEventUnitNotFound, formId, unitId);
    unitId = record->unitId;

    // Follow the event source links while they name a unit of the same type.
    auto type = UnitTypeOf(record->data);
    std::span<const std::uint8_t> bindings = record->data;
    for (int hops = 0; hops < units.Count(); ++hops) {
        auto layout = WalkUnitRecord(bindings);
        if (!layout || layout->menuItem)
            break;
        std::uint32_t link = 0;
        std::memcpy(&link, bindings.data() + 4, sizeof link);
        if (link == 0)
            break;
        auto linked = units.FindUnit(link);
        if (!linked || UnitTypeOf(linked->data) != type)
            break;
        bindings = linked->data;
    }

    // A menu item raises the event of its single handler; it has no unit
    // type to ask.
    if (UnitTypeOf(record->data) == runtime::kMenuItemType)
        return EventHandlerOf(bindings, event);
    const runtime::DataTypeRecord* typeRecord = TypeOfRecord(record->data);
    if (!typeRecord || (typeRecord->stateFlags & (runtime::kTypeHasWindow | runtime::kTypeCanRaiseEvents)) == 0)
        Report(runtime::texts::kEventUnitInvalid, formId, unitId);
    return EventHandlerOf(bindings, event);
}

// Calls the bound handler with the current event source recorded; a nested
// event restores the outer source when it returns.
bool CallHandler(FormId formId, UnitId unitId, std::uint32_t handler, EventCall& call)
{
    auto position = HandlerPosition(handler, kHandlerCodeBase);
    const auto& handlers = Handlers();
    if (!position || *position >= handlers.size() || !handlers[*position])
        return false;
    EventSource outer = g_current;
    g_current = {formId, unitId};
    call.formId = formId;
    call.unitId = unitId;
    handlers[*position](call);
    g_current = outer;
    return true;
}

std::int64_t PassedValue(const TypedEventArgument& argument)
{
    std::uint64_t both = (static_cast<std::uint64_t>(argument.high) << 32) | argument.low;
    if (argument.flags & kByReferenceFlag)
        return static_cast<std::int64_t>(both);  // an address fills the payload
    if ((argument.flags & kBothWordsFlag) || argument.tag == runtime::kMenuItemType)
        return static_cast<std::int64_t>(both);
    switch (argument.tag) {
    case runtime::kByteType:
        return static_cast<std::uint8_t>(argument.low);
    case runtime::kShortType:
        return static_cast<std::int16_t>(argument.low);
    case runtime::kDateTimeType:
    case runtime::kTwoWordType:
    case runtime::kLongType:
    case runtime::kDoubleType:
        return static_cast<std::int64_t>(both);
    default:
        return static_cast<std::int32_t>(argument.low);
    }
}

}  // namespace

void SetEventHandlers(std::span<const EventHandler> handlers)
{
    Handlers().assign(handlers.begin(), handlers.end());
}

EventSource CurrentEventSource()
{
    return g_current;
}

namespace {

// The dispatch shared by both records: find the handler, call it with the
// converted arguments, hand its result back into the record.
template <typename Record, typename Convert>
bool Dispatch(Record& event, int maximumArguments, Convert convert)
{
    if (runtime::EventsSuppressed())
        return false;
    UnitId unitId = event.unitId;
    std::uint32_t handler = BoundHandler(event.formId, unitId, event.event);
    if (handler == kNoHandler)
        return false;
    EventCall call;
    call.event = event.event;
    int count = std::clamp(event.argumentCount, 0, maximumArguments);
    for (int i = 0; i < count; ++i)
        call.arguments.push_back(convert(event.arguments[i]));
    if (!CallHandler(event.formId, unitId, handler, call))
        return false;
    if (call.hasResult) {
        event.hasResult = 1;
        event.result = static_cast<decltype(event.result)>(call.result);
    }
    return true;
}

}  // namespace

bool DispatchEvent(UnitEvent& event)
{
    return Dispatch(event, kUnitEventArguments, [](std::int32_t word) { return std::int64_t{word}; });
}

bool DispatchEvent(TypedUnitEvent& event)
{
    return Dispatch(event, kTypedEventArguments, PassedValue);
}

}  // namespace vellumry::forms
