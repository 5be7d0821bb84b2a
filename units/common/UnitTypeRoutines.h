#pragma once

// The routines every unit type answers alike, written once for a unit class
// that offers WriteProperty, ReadProperty and Save: the form engine hands
// them the unit as the window object it created.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"

namespace vellumry::units {

// A stored record as the engine passes it: null data or a negative length
// is an empty record.
inline std::span<const std::uint8_t> RecordBytes(const std::uint8_t* data, std::int32_t length)
{
    return {data, data ? static_cast<std::size_t>(std::max(length, 0)) : 0};
}

template <typename Unit>
struct UnitTypeRoutines {
    // Creates the unit from the engine's arguments.
    static ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent,
                                    std::int32_t controlId, HMENU, std::int32_t left, std::int32_t top,
                                    std::int32_t width, std::int32_t height, std::uint32_t formId,
                                    std::uint32_t unitId, std::int32_t flag, std::int32_t)
    {
        UnitCreateArguments arguments;
        arguments.record = RecordBytes(data, length);
        arguments.baseStyle = style;
        arguments.parent = parent;
        arguments.controlId = controlId;
        arguments.rect = {left, top, left + width, top + height};
        arguments.formId = formId;
        arguments.unitId = unitId;
        arguments.creationFlag = flag != 0;
        return Unit::Create(arguments);
    }
    static std::int32_t Write(ui::WindowObject* unit, std::int32_t number, const forms::UnitPropertyValue* value)
    {
        return static_cast<Unit*>(unit)->WriteProperty(number, *value);
    }
    static std::int32_t Read(ui::WindowObject* unit, std::int32_t number, forms::UnitPropertyValue* value)
    {
        return static_cast<Unit*>(unit)->ReadProperty(number, value);
    }
    static bool Save(ui::WindowObject* unit, std::vector<std::uint8_t>* record)
    {
        *record = static_cast<Unit*>(unit)->Save();
        return true;
    }
};

}  // namespace vellumry::units
