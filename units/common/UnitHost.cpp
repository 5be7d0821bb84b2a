#include "units/common/UnitHost.h"

#include <atomic>

#include "forms/EventDispatch.h"
#include "forms/HostNotify.h"

namespace vellumry::units {
namespace {

constexpr std::int32_t kLibraryStarted = 1;

std::atomic<HostNotifyEntry> g_host{nullptr};

}  // namespace

std::intptr_t UnitLibraryNotify(std::int32_t code, std::intptr_t value1, std::intptr_t)
{
    if (code == kLibraryStarted)
        g_host.store(reinterpret_cast<HostNotifyEntry>(value1));
    return 0;
}

std::intptr_t Host(std::int32_t code, std::intptr_t value1, std::intptr_t value2)
{
    HostNotifyEntry host = g_host.load();
    return host ? host(code, value1, value2) : 0;
}

RaisedEvent RaiseUnitEvent(forms::FormId formId, forms::UnitId unitId, std::int32_t event,
                           std::initializer_list<std::int32_t> arguments)
{
    forms::UnitEvent record;
    record.formId = formId;
    record.unitId = unitId;
    record.event = event;
    for (std::int32_t argument : arguments) {
        if (record.argumentCount == 5)
            break;
        record.arguments[record.argumentCount++] = argument;
    }
    RaisedEvent raised;
    raised.ran = Host(forms::kNotifyDispatchEvent, reinterpret_cast<std::intptr_t>(&record)) != 0;
    raised.hasResult = record.hasResult != 0;
    raised.result = record.result;
    return raised;
}

}  // namespace vellumry::units
