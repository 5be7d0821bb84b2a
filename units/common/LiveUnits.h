#pragma once

// Unit objects own themselves from creation until their window is gone: the
// form engine keeps only handles. This registry holds them meanwhile.
// Window thread only.

#include <memory>

#include "platform/ui/WindowObject.h"

namespace vellumry::units {

// Takes the unit and returns it for the caller's use.
template <typename Unit>
Unit* AdoptUnit(std::unique_ptr<Unit> unit);

// Destroys a unit adopted earlier (called from its PostNcDestroy).
void DisposeUnit(ui::WindowObject* unit);

namespace detail {
void Adopt(std::unique_ptr<ui::WindowObject> unit);
}

template <typename Unit>
Unit* AdoptUnit(std::unique_ptr<Unit> unit)
{
    Unit* raw = unit.get();
    detail::Adopt(std::move(unit));
    return raw;
}

}  // namespace vellumry::units
