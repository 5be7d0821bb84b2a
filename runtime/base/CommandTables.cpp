#include "runtime/base/CommandTables.h"

namespace vellumry::runtime {
namespace {

LibraryCommand g_coreCommands[kCoreCommandCount] = {};
LibraryCommand g_extendedUiCommands[kExtendedUiCommandCount] = {};

}  // namespace

std::span<LibraryCommand, kCoreCommandCount> CoreCommandSlots()
{
    return g_coreCommands;
}

std::span<LibraryCommand, kExtendedUiCommandCount> ExtendedUiCommandSlots()
{
    return g_extendedUiCommands;
}

}  // namespace vellumry::runtime
