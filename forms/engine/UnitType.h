#pragma once

// What a unit type offers the form engine.
//
// A unit type is a struct of typed routines, UnitType below. Each unit
// type's file defines one as a constant and installs it with
// InstallUnitType<kItsType>(tag): from then on the data type record's
// interface routine (the numbered entry of the support-library table, given
// an operation code, answers the routine that implements it) answers that
// struct's routines. The operation codes and the casts between the numbered
// entry and the typed routines live in this header's template and in
// UnitType.cpp, and nowhere else; the engine asks OperationsOf(record) and
// calls typed routines.
//
//     constexpr forms::UnitType kButtonType = {
//         .create = Create, .writeProperty = Write, .readProperty = Read, ...};
//     void InstallButtonType() { forms::InstallUnitType<kButtonType>(runtime::kButtonType); }
//
// Values travel between the engine and the units in a UnitPropertyValue: the
// engine converts them to and from the application's forms by the property's
// kind. Property numbers here are the unit's own (application index - 8).

#include <cstdint>
#include <string>
#include <vector>

#include "forms/description/SupportLibraries.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "runtime/ProgramHeader.h"
#include "runtime/base/SharedBytes.h"

namespace vellumry::forms {

struct UnitPropertyValue {
    std::int64_t number = 0;     // integers, booleans, colours, 64-bit values
    std::string text;            // texts (GBK)
    runtime::SharedBytes bytes;  // blocks; a font as a 60-byte LOGFONTA
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

// A unit type: null routines are operations the type does not have.
struct UnitType {
    CreateUnitRoutine create = nullptr;
    WritePropertyRoutine writeProperty = nullptr;
    SavePropertiesRoutine saveProperties = nullptr;
    ReadPropertyRoutine readProperty = nullptr;
    EnumerateTextsRoutine enumerateTexts = nullptr;
    IsDefaultButtonRoutine isDefaultButton = nullptr;
};

// The operations of a data type record, through its interface routine; all
// null for null, a type without a routine or a routine that answers none.
UnitType OperationsOf(const runtime::DataTypeRecord* type);

namespace detail {
enum UnitOperationCode : std::int32_t {
    kOperationCreate = 1,
    kOperationWriteProperty = 4,
    kOperationSaveProperties = 5,
    kOperationReadProperty = 6,
    kOperationEnumerateTexts = 9,
    kOperationIsDefaultButton = 10,
};

runtime::UnitOperation Answer(const UnitType& type, std::int32_t code);

// The interface routine of one unit type.
template <const UnitType& kType>
runtime::UnitOperation InterfaceOf(std::int32_t code)
{
    return Answer(kType, code);
}
}  // namespace detail

// Makes `kType` the operations of the data type `tag`. False when the tag
// names no data type of the table. Part of start-up wiring.
template <const UnitType& kType>
bool InstallUnitType(runtime::DataTypeTag tag)
{
    return SetUnitInterface(tag, &detail::InterfaceOf<kType>);
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
