#pragma once

// What a unit type offers the form engine: given an operation code, its
// interface routine answers the routine that implements it (cast to the
// shape below), or null when the type has no such operation.
//
// Values travel between the engine and the units in a UnitPropertyValue: the
// engine converts them to and from the application's forms by the property's
// kind. Property numbers here are the unit's own (application index - 8).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

enum UnitOperationCode : std::int32_t {
    kOperationCreate = 1,
    kOperationWriteProperty = 4,
    kOperationSaveProperties = 5,
    kOperationReadProperty = 6,
    kOperationEnumerateTexts = 9,
    kOperationIsDefaultButton = 10,
};

struct UnitPropertyValue {
    std::int64_t number = 0;          // integers, booleans, colours, 64-bit values
    std::string text;                 // texts (GBK)
    std::vector<std::uint8_t> bytes;  // blocks; a font as a 60-byte LOGFONTA
};

// Creates the unit's window. `flag` is the embedding / creation flag, always
// 0 from the form engine; `reserved` is 0. Returns the unit object, whose
// window handle the engine queries, or null on failure.
using CreateUnitRoutine = ui::WindowObject* (*)(const std::uint8_t* data, std::int32_t length, DWORD style,
                                                HWND parent, std::int32_t controlId, HMENU menu, std::int32_t left,
                                                std::int32_t top, std::int32_t width, std::int32_t height,
                                                std::uint32_t formId, std::uint32_t unitId, std::int32_t flag,
                                                std::int32_t reserved);
// Returns 1 when the unit's window must be re-created for the change.
using WritePropertyRoutine = std::int32_t (*)(ui::WindowObject* unit, std::int32_t number,
                                              const UnitPropertyValue* value);
// Returns 0 when the number names no property.
using ReadPropertyRoutine = std::int32_t (*)(ui::WindowObject* unit, std::int32_t number, UnitPropertyValue* value);
// The unit's current property record, as stored in a template.
using SavePropertiesRoutine = bool (*)(ui::WindowObject* unit, std::vector<std::uint8_t>* record);
// Calls `visit` for every text stored in a property record.
using TextVisitor = void (*)(void* context, const char* text);
using EnumerateTextsRoutine = void (*)(const std::uint8_t* data, std::int32_t length, TextVisitor visit,
                                       void* context);
using IsDefaultButtonRoutine = bool (*)(ui::WindowObject* unit);

template <typename Routine>
Routine UnitRoutine(const runtime::DataTypeRecord* type, UnitOperationCode code)
{
    if (!type || !type->interfaceRoutine)
        return nullptr;
    return reinterpret_cast<Routine>(type->interfaceRoutine(code));
}

// Engine messages sent to unit windows after creation: to each unit, to the
// form window, and to each unit of a form shown modally.
inline constexpr UINT kMessageUnitsCreated = 0x806F;
inline constexpr UINT kMessageFormCreated = 0x8004;
inline constexpr UINT kMessageShownModally = 0x8076;
// The message loop's idle call to a form window: wParam the milliseconds
// since the idle period began; a nonzero answer asks for more idle calls.
inline constexpr UINT kMessageFormIdle = 0x8071;

}  // namespace vellumry::forms
