#include <gtest/gtest.h>

#include <set>

#include "runtime/CoreCommandSlots.h"

namespace {

using vellumry::runtime::CoreCommand;

TEST(InstallRuntimeCoreCommands, FillsTheRuntimesSlotsAndLeavesTheOthers)
{
    vellumry::runtime::InstallRuntimeCoreCommands();
    std::set<vellumry::runtime::LibraryCommand> distinct;
    for (int i = 0; i < static_cast<int>(CoreCommand::Count); ++i) {
        auto slot = static_cast<CoreCommand>(i);
        bool runtimeOwn = slot <= CoreCommand::WriteProfileItem;
        EXPECT_EQ(vellumry::runtime::CoreCommandSlot(slot) != nullptr, runtimeOwn) << "slot " << i;
        if (runtimeOwn)
            distinct.insert(vellumry::runtime::CoreCommandSlot(slot));
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(CoreCommand::WriteProfileItem) + 1)
        << "every slot holds its own command";
}

}  // namespace
