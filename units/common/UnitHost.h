#pragma once

// The units' one way into the runtime: the HostNotify entry, which the
// runtime hands to each support library when it starts (library notify code
// 1). Every unit type of this program lives in the core or the extended-UI
// library; both libraries' notify routines store it here.

#include <cstdint>
#include <initializer_list>

#include "forms/Identifiers.h"

namespace vellumry::units {

using HostNotifyEntry = std::intptr_t (*)(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

// The libraries' notify routine: code 1 brings the HostNotify entry, code 6
// announces the shutdown.
std::intptr_t UnitLibraryNotify(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

// Calls the runtime; 0 when no entry has been handed over yet.
std::intptr_t Host(std::int32_t code, std::intptr_t value1 = 0, std::intptr_t value2 = 0);

struct RaisedEvent {
    bool ran = false;
    bool hasResult = false;
    std::int32_t result = 0;
};

// Raises an event of a unit with up to five integer arguments.
RaisedEvent RaiseUnitEvent(forms::FormId formId, forms::UnitId unitId, std::int32_t event,
                           std::initializer_list<std::int32_t> arguments = {});

}  // namespace vellumry::units
