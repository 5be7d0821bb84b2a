#pragma once

// The numbering of the core library's 54 command slots (CommandTables.h).
// The runtime fills the slots of its own commands with
// InstallRuntimeCoreCommands; the unit-enumeration slots belong to the form
// engine and the automation-object and variant slots to the automation layer,
// which fill them during their own start-up wiring.

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/LibraryCommand.h"
#include "runtime/base/CommandTables.h"

namespace vellumry::runtime {

enum class CoreCommand : std::int32_t {
    // Texts.
    LengthOfText,
    LeftOfText,
    RightOfText,
    MidOfText,
    CharFromCode,
    CodeOfChar,
    FindText,
    FindTextBackward,
    ToLowerCase,
    TrimSpaces,
    RemoveAllSpaces,
    ReplaceSubText,
    SplitText,
    BlankText,
    TextCompare,
    // Byte-sets.
    ByteSetLength,
    LeftOfByteSet,
    MidOfByteSet,
    BlankByteSet,
    // Conversions.
    ToInteger,
    ToByte,
    ToText,
    ToByteSet,
    // Arithmetic and bits.
    Remainder,
    BitAnd,
    BitOr,
    ShiftLeft,
    ShiftRight,
    // Files, settings files and the program.
    ProgramFolder,
    WriteToFile,
    ReadProfileItem,
    WriteProfileItem,
    // Unit enumeration (form engine).
    EnumerateUnits,
    UnitListCount,
    UnitListItem,
    UnitListRelease,
    UnitNameOf,
    // Automation objects and variants (automation layer).
    CreateObject,
    ClearObject,
    IsEmptyObject,
    CopyObject,
    ReadTextProperty,
    ReadNumberProperty,
    ReadObjectProperty,
    ReadProperty,
    WriteProperty,
    CallMethod,
    CallTextMethod,
    CallObjectMethod,
    AssignVariant,
    VariantToText,
    VariantToByteSet,
    CopyVariant,
    ClearVariant,

    Count
};

static_assert(static_cast<std::int32_t>(CoreCommand::Count) == kCoreCommandCount,
              "every core library slot has a name");

inline LibraryCommand& CoreCommandSlot(CoreCommand command)
{
    return CoreCommandSlots()[static_cast<std::size_t>(command)];
}

// Calls the command in `slot` through the runtime interface (entry 3,
// CallCoreCommand), as the application's code calls core commands. A call
// into a slot nobody filled is a runtime error (CommandCall.h).
TypedValue CallCoreSlot(CoreCommand slot, std::span<const TypedValue> arguments);

// Puts the runtime's own commands (texts, byte-sets, conversions, arithmetic,
// files and settings) into their slots. Part of start-up wiring; idempotent.
void InstallRuntimeCoreCommands();

}  // namespace vellumry::runtime
