#pragma once

// How the window template names the application's event handlers.
//
// The template stores, per event binding (and per menu item), a 32-bit
// offset from the code base of the program header; -1 means no handler. The
// loader fixes every stored value up once: -1 becomes 0 (none), any other
// value becomes code base + offset, computed in 32 bits.
//
// The original program held machine-code offsets there. This build does not
// address handlers by code position: the application registers a handler list,
// whose order is fixed by name in app/forms/Handlers.def, and a stored offset is
// the handler's position in that list. The program header's code base is
// kHandlerCodeBase, a small nonzero number, so a bound handler's value after
// the fix-up is kHandlerCodeBase + position: a nonzero 32-bit number that never
// looks like "none". The form engine turns a value back into a list position
// with HandlerPosition and calls the routine registered there. The form
// builder writes positions by looking handler names up in the same list.

#include <cstdint>
#include <optional>

namespace vellumry::forms {

inline constexpr std::uint32_t kStoredNoHandler = 0xFFFFFFFF;  // -1 as stored
inline constexpr std::uint32_t kNoHandler = 0;                 // after the fix-up
inline constexpr std::uint32_t kHandlerCodeBase = 1;

constexpr std::uint32_t FixUpHandler(std::uint32_t stored, std::uintptr_t codeBase)
{
    return stored == kStoredNoHandler ? kNoHandler : static_cast<std::uint32_t>(codeBase + stored);
}

// The handler list position of a fixed-up value; nullopt for none. A position
// beyond the registered list names no routine; the caller checks it.
constexpr std::optional<std::uint32_t> HandlerPosition(std::uint32_t value, std::uintptr_t codeBase)
{
    if (value == kNoHandler)
        return std::nullopt;
    return static_cast<std::uint32_t>(value - codeBase);
}

}  // namespace vellumry::forms
