// Puts the runtime's own core commands into their slots of the core library.

#include "runtime/CoreCommandSlots.h"
#include "runtime/commands/ArithmeticCommands.h"
#include "runtime/commands/ByteSetCommands.h"
#include "runtime/commands/ConversionCommands.h"
#include "runtime/commands/FileCommands.h"
#include "runtime/commands/TextCommands.h"

namespace vellumry::runtime {

void InstallRuntimeCoreCommands()
{
    using namespace commands;
    struct Entry {
        CoreCommand slot;
        LibraryCommand command;
    };
    static constexpr Entry kCommands[] = {
        {CoreCommand::LengthOfText, LengthOfText},
        {CoreCommand::LeftOfText, LeftOfText},
        {CoreCommand::RightOfText, RightOfText},
        {CoreCommand::MidOfText, MidOfText},
        {CoreCommand::CharFromCode, CharFromCode},
        {CoreCommand::CodeOfChar, CodeOfChar},
        {CoreCommand::FindText, FindText},
        {CoreCommand::FindTextBackward, FindTextBackward},
        {CoreCommand::ToLowerCase, ToLowerCase},
        {CoreCommand::TrimSpaces, TrimSpaces},
        {CoreCommand::RemoveAllSpaces, RemoveAllSpaces},
        {CoreCommand::ReplaceSubText, ReplaceSubText},
        {CoreCommand::SplitText, SplitText},
        {CoreCommand::BlankText, BlankText},
        {CoreCommand::TextCompare, TextCompare},
        {CoreCommand::ByteSetLength, ByteSetLength},
        {CoreCommand::LeftOfByteSet, LeftOfByteSet},
        {CoreCommand::MidOfByteSet, MidOfByteSet},
        {CoreCommand::BlankByteSet, BlankByteSet},
        {CoreCommand::ToInteger, ToInteger},
        {CoreCommand::ToByte, ToByte},
        {CoreCommand::ToText, ToText},
        {CoreCommand::ToByteSet, ToByteSet},
        {CoreCommand::Remainder, Remainder},
        {CoreCommand::BitAnd, BitAnd},
        {CoreCommand::BitOr, BitOr},
        {CoreCommand::ShiftLeft, ShiftLeft},
        {CoreCommand::ShiftRight, ShiftRight},
        {CoreCommand::ProgramFolder, ProgramFolder},
        {CoreCommand::WriteToFile, WriteToFile},
        {CoreCommand::ReadProfileItem, ReadProfileItem},
        {CoreCommand::WriteProfileItem, WriteProfileItem},
    };
    for (const Entry& entry : kCommands)
        CoreCommandSlot(entry.slot) = entry.command;
}

}  // namespace vellumry::runtime
