#pragma once

// Event dispatch: a unit raises an event through HostNotify (a UnitEvent
// record, or a typed record), and the form engine calls the application
// handler bound to it in the template. No handler runs while the event
// suppression counter is raised. Window thread only.

#include <cstdint>
#include <span>
#include <vector>

#include "forms/description/Identifiers.h"
#include "runtime/DataTypeTag.h"

namespace vellumry::forms {

// What a handler receives and may answer.
struct EventCall {
    FormId formId = 0;
    UnitId unitId = 0;
    std::int32_t event = 0;
    // The arguments, each converted as the event passes it: one-word values
    // zero- or sign-extended, two-word values whole, references as addresses.
    std::vector<std::int64_t> arguments;
    bool hasResult = false;
    std::int64_t result = 0;
};

using EventHandler = void (*)(EventCall& call);

// The application's handler list; a bound handler value names a position in
// it (see EventHandlers.h).
void SetEventHandlers(std::span<const EventHandler> handlers);

// The record a unit passes with HostNotify 2008.
inline constexpr int kUnitEventArguments = 5;
struct UnitEvent {
    FormId formId = 0;
    UnitId unitId = 0;
    std::int32_t event = 0;
    std::int32_t argumentCount = 0;
    std::int32_t arguments[kUnitEventArguments] = {};
    std::int32_t hasResult = 0;
    std::int32_t result = 0;
};

// The record of HostNotify 2031: typed arguments.
struct TypedEventArgument {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    runtime::DataTypeTag tag = 0;
    std::uint32_t flags = 0;  // bit 0: by reference; bit 1: both words
};

inline constexpr int kTypedEventArguments = 12;
struct TypedUnitEvent {
    FormId formId = 0;
    UnitId unitId = 0;
    std::int32_t event = 0;
    std::int32_t argumentCount = 0;
    TypedEventArgument arguments[kTypedEventArguments] = {};
    std::int32_t hasResult = 0;
    std::int64_t result = 0;
};

// Finds the handler bound to the event and calls it with the event's
// arguments, unless events are suppressed; hands the handler's result back
// into the record. True when a handler ran. A missing form or unit, or a
// unit that cannot raise events, is a runtime error.
bool DispatchEvent(UnitEvent& event);
bool DispatchEvent(TypedUnitEvent& event);

// The (FormId, UnitId) of the event being dispatched; both 0 when none.
struct EventSource {
    FormId formId = 0;
    UnitId unitId = 0;
};
EventSource CurrentEventSource();

}  // namespace vellumry::forms
