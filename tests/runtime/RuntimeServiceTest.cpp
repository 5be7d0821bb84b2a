#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/kernel/FileSearch.h"
#include "platform/kernel/PathMapping.h"
#include "runtime/ExitRoutines.h"
#include "runtime/HeapOwner.h"
#include "runtime/RuntimeService.h"
#include "runtime/Shutdown.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry::runtime;
using vellumry::kernel::ToRuntimePath;
using vellumry::test::ScopedTempDir;

std::vector<std::string> Collect(const std::string& pattern, int mask, bool filesOnly)
{
    std::vector<std::string> names;
    HANDLE search = nullptr;
    OwnedText name(FileSearchStep(pattern.c_str(), mask, filesOnly, &search));
    while (name) {
        names.emplace_back(name.get());
        name.reset(FileSearchStep("", mask, filesOnly, &search));
    }
    EXPECT_EQ(search, nullptr);  // closed and cleared at the end
    return names;
}

class FileSearchService : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("a.txt", "1");
        m_dir.Write("b.txt", "2");
        mkdir(m_dir.File("folder").c_str(), 0755);
        chmod(m_dir.Write("readonly.txt", "3").c_str(), 0444);
        m_pattern = ToRuntimePath(m_dir.Path()) + "\\*";
    }
    ScopedTempDir m_dir;
    std::string m_pattern;
};

TEST_F(FileSearchService, FilesOnlySkipsEveryFolder)
{
    EXPECT_EQ(Collect(m_pattern, 0, true), (std::vector<std::string>{"a.txt", "b.txt", "readonly.txt"}));
}

TEST_F(FileSearchService, AttributeMaskSelectsEntriesSharingABit)
{
    EXPECT_EQ(Collect(m_pattern, 0x10, false), (std::vector<std::string>{".", "..", "folder"}));
    EXPECT_EQ(Collect(m_pattern, 0x01, false), (std::vector<std::string>{"readonly.txt"}));
    // Bits outside 0x37 are ignored, so 0x80 alone is mask 0: attributes must be 0.
    EXPECT_TRUE(Collect(m_pattern, 0x80, false).empty());
    EXPECT_TRUE(Collect(m_pattern, 0, false).empty());
}

TEST_F(FileSearchService, NewPatternClosesTheOpenSearchAndEmptyContinues)
{
    HANDLE search = nullptr;
    OwnedText first(reinterpret_cast<char*>(RuntimeService(kServiceFileSearchStep, m_pattern.c_str(), 0, 1, &search)));
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first.get(), "a.txt");
    ASSERT_NE(search, nullptr);
    HANDLE firstHandle = search;

    std::string onlyB = ToRuntimePath(m_dir.Path()) + "\\b*";
    OwnedText restarted(FileSearchStep(onlyB.c_str(), 0, true, &search));
    EXPECT_STREQ(restarted.get(), "b.txt");
    EXPECT_NE(search, nullptr);
    EXPECT_FALSE(FindNextFileA(firstHandle, nullptr));  // the first search was closed

    RuntimeService(kServiceCloseSearch, search);
    HANDLE none = nullptr;
    EXPECT_EQ(FileSearchStep("", 0, true, &none), nullptr);  // nothing to continue
    EXPECT_EQ(FileSearchStep((ToRuntimePath(m_dir.Path()) + "\\*.none").c_str(), 0, true, &none), nullptr);
    EXPECT_EQ(none, nullptr);
}

std::vector<int> g_calls;

void FirstRoutine(std::int32_t position)
{
    g_calls.push_back(100 + position);
}

void SecondRoutine(std::int32_t position)
{
    g_calls.push_back(200 + position);
}

TEST(ExitRoutineService, RegistersOnceAndRunsWithPositions)
{
    g_calls.clear();
    RuntimeService(kServiceRegisterExitRoutine, &FirstRoutine);
    RuntimeService(kServiceRegisterExitRoutine, &SecondRoutine);
    RuntimeService(kServiceRegisterExitRoutine, &FirstRoutine);
    RunExitRoutines();
    EXPECT_EQ(g_calls, (std::vector<int>{100, 201}));
    RunExitRoutines();  // the list was cleared
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST(ExitRoutineService, EndProgramRunsThemOnceWithTheExitCode)
{
    auto scenario = [] {
        RuntimeService(kServiceRegisterExitRoutine, +[](std::int32_t position) {
            std::fprintf(stderr, "routine %d\n", position);
        });
        RuntimeService(kServiceRegisterExitRoutine, +[](std::int32_t position) {
            std::fprintf(stderr, "routine %d\n", position);
        });
        EndProgram(5);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(5), ::testing::HasSubstr("routine 0\nroutine 1\n"));
}

TEST(ArrayService, MakeArrayWritableThroughTheService)
{
    alignas(4) static const std::uint8_t constant[12] = {1, 0, 0, 0, 1, 0, 0, 0, 42, 0, 0, 0};
    SetStaticDataBlock(constant, sizeof constant);
    void* array = const_cast<std::uint8_t*>(constant);
    RuntimeService(kServiceMakeArrayWritable, &array, 4);
    EXPECT_NE(array, constant);
    EXPECT_EQ(LoadWord(static_cast<std::uint8_t*>(array) + 8), 42);
    RuntimeFree(array);
    ClearStaticDataBlock();
}

}  // namespace
