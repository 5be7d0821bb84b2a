#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel/PathMapping.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "runtime/DllCommands.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeState.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::runtime;
using namespace vellumry::modules;
using vellumry::test::kErrorExit;
using vellumry::test::ReportsMessage;
using ::testing::HasSubstr;

int FromKernel()
{
    return 1;
}
int FromGdi()
{
    return 2;
}
int FromShell()
{
    return 3;
}
int Add(int a, int b)
{
    return a + b;
}
int Twelve()
{
    return 12;
}

const std::string kModuleFolder = vellumry::kernel::ToRuntimePath(TEST_MODULE_DIR);

// A table of DLL commands installed for one test; the system libraries are
// registered as built-in modules with a few probe exports.
class DllCommandTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltinExports("Kernel32", {Export("ProbeCreateThread", &FromKernel)});
        RegisterBuiltinExports("Gdi32", {Export("ProbeEverywhere", &FromGdi)});
        RegisterBuiltinExports("Shell32", {Export("ProbeEverywhere", &FromShell), Export("ProbeShellOnly", &FromShell)});
        RegisterBuiltinExports("probemath.dll", {Export("Add", &Add), Export("Twelve", &Twelve, 12)});
        m_savedFolder = Runtime().programFolder;
        m_savedStart = Runtime().startModuleFolder;
        Runtime().programFolder = "\\nonexistent-program-folder";
        Runtime().startModuleFolder.clear();
    }
    void TearDown() override
    {
        UnloadDllCommands();
        SetDllLibraryFolderPrefix("");
        Runtime().programFolder = m_savedFolder;
        Runtime().startModuleFolder = m_savedStart;
        for (const char* m : {"kernel32", "gdi32", "shell32", "probemath"})
            UnregisterBuiltinModule(m);
    }
    static void Install(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        // The table copies the names; the pointers need to live only for the call.
        std::vector<const char*> libraries;
        std::vector<const char*> exports;
        for (const auto& [library, name] : entries) {
            libraries.push_back(library.c_str());
            exports.push_back(name.c_str());
        }
        InstallDllCommands(static_cast<std::int32_t>(entries.size()), libraries.data(), exports.data());
    }

private:
    std::string m_savedFolder;
    std::string m_savedStart;
};

TEST_F(DllCommandTable, EmptyLibraryNameSearchesTheSystemLibrariesInOrder)
{
    Install({{"", "ProbeCreateThread"}, {"", "ProbeEverywhere"}, {"", "ProbeShellOnly"}});
    EXPECT_EQ(reinterpret_cast<int (*)()>(ResolveDllCommand(0))(), 1);
    // Gdi32 comes before Shell32 in the list.
    EXPECT_EQ(reinterpret_cast<int (*)()>(ResolveDllCommand(1))(), 2);
    EXPECT_EQ(reinterpret_cast<int (*)()>(ResolveDllCommand(2))(), 3);
    EXPECT_EQ(DllCommandModule(0), FindBuiltinModule("kernel32"));
    EXPECT_EQ(DllCommandModule(2), FindBuiltinModule("shell32"));
}

TEST_F(DllCommandTable, SameExportInTwoEntriesIsCachedPerIndex)
{
    Install({{"probemath.dll", "Add"}, {"ProbeMath", "Add"}});
    EXPECT_EQ(DllCommandModule(0), nullptr);
    FARPROC first = ResolveDllCommand(0);
    EXPECT_EQ(DllCommandModule(1), nullptr);  // index 1 is still unresolved
    FARPROC second = ResolveDllCommand(1);
    EXPECT_EQ(first, second);
    EXPECT_NE(DllCommandModule(0), nullptr);
    EXPECT_EQ(DllCommandModule(0), DllCommandModule(1));
    EXPECT_EQ(ResolveDllCommand(0), first);  // served from the cache
}

TEST_F(DllCommandTable, HashDigitsNameAnOrdinal)
{
    Install({{"probemath", "#12"}, {"probemath", "#65548"}});
    EXPECT_EQ(reinterpret_cast<int (*)()>(ResolveDllCommand(0))(), 12);
    // The ordinal is taken modulo 65536.
    EXPECT_EQ(ResolveDllCommand(1), ResolveDllCommand(0));
}

TEST_F(DllCommandTable, NamedLibraryIsTriedInTheFolderOrder)
{
    Install({{"testmodule.dll", "TestModuleAnswer"}});
    // Not in the program folder, no start-module folder: only the prefix finds it.
    SetDllLibraryFolderPrefix(kModuleFolder + "\\");
    auto answer = reinterpret_cast<int (*)(int)>(ResolveDllCommand(0));
    EXPECT_EQ(answer(1), 3);
}

TEST_F(DllCommandTable, ProgramFolderAndStartModuleFolderAreTried)
{
    Install({{"testmodule.dll", "TestModuleAnswer"}, {"testmodule", "TestModuleAnswer"}});
    Runtime().programFolder = kModuleFolder;
    EXPECT_NE(ResolveDllCommand(0), nullptr);
    Runtime().programFolder = "\\nonexistent-program-folder";
    Runtime().startModuleFolder = kModuleFolder + "\\";
    EXPECT_NE(ResolveDllCommand(1), nullptr);  // ".dll" appended by the loader
}

TEST_F(DllCommandTable, NameWithADriveGoesStraightToTheNameAlone)
{
    // The program folder holds the module, but a name with ":" skips the folder attempts.
    Runtime().programFolder = kModuleFolder;
    Install({{"Q:\\elsewhere\\testmodule.dll", "TestModuleAnswer"}, {"Q:" + kModuleFolder + "\\testmodule.dll",
                                                                    "TestModuleAnswer"}});
    EXPECT_NE(ResolveDllCommand(1), nullptr);
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件“Q:\\elsewhere\\testmodule.dll”中的输出命令“TestModuleAnswer”"));
}

TEST_F(DllCommandTable, MissingExportsAndLibrariesAreFatalWithTheirMessages)
{
    Install({{"", "NoSuchExport"}, {"probemath.dll", "Subtract"}, {"nothing-here.dll", "Add"}});
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件中的输出命令“NoSuchExport”"));
    EXPECT_EXIT(ResolveDllCommand(1), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件“probemath.dll”中的输出命令“Subtract”"));
    EXPECT_EXIT(ResolveDllCommand(2), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件“nothing-here.dll”中的输出命令“Add”"));
    // An index outside the table has no names and resolves to nothing.
    EXPECT_EXIT(ResolveDllCommand(3), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件中的输出命令“”"));
    EXPECT_EXIT(ResolveDllCommand(-1), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件中的输出命令“”"));
}

TEST_F(DllCommandTable, TypedCallThroughTheInterfaceChecksTheDeclaration)
{
    Install({{"probemath.dll", "Add"}});
    EXPECT_EQ((CallDllCommand<int(int, int)>(0, 10, 20, 2, 3)), 5);
    // Declared with the wrong parameter list: the stack-check error with the
    // caller's related values.
    EXPECT_EXIT((CallDllCommand<int(int)>(0, 10, 20, 2)), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n运行时错误相关信息值"
                          "(在IDE中打开对应源程序后执行\"运行->到运行时错误相关位置\"菜单功能查看): 10, 20\r\n"));
}

TEST_F(DllCommandTable, ExportsOfRealFilesAreTrustedAndUnloadedAtTheEnd)
{
    Install({{kModuleFolder + "\\testmodule.dll", "TestModuleAnswer"}});
    EXPECT_EQ((CallDllCommand<int(int)>(0, 0, 0, 4)), 9);
    HMODULE module = DllCommandModule(0);
    ASSERT_NE(module, nullptr);
    UnloadDllCommands();
    EXPECT_EQ(DllCommandCount(), 0);
    EXPECT_EQ(GetProcAddress(module, "TestModuleAnswer"), nullptr);  // its last reference is gone
}

TEST_F(DllCommandTable, ThreadsResolvingOneEntryAtOnceAllGetTheAddress)
{
    // Every entry is found only in the last system library, so each
    // resolution first asks five libraries that lack it while the other
    // threads may already have found it.
    constexpr std::int32_t kEntries = 512;
    constexpr int kThreads = 4;
    constexpr int kRounds = 8;
    RegisterBuiltinExports("User32", {Export("ProbeCreateThread", &FromKernel)});
    RegisterBuiltinExports("Advapi32", {Export("ProbeEverywhere", &FromGdi)});
    RegisterBuiltinExports("Mpr", {Export("ProbeEverywhere", &FromGdi)});
    std::vector<std::pair<std::string, std::string>> entries(kEntries, {"", "ProbeShellOnly"});
    FARPROC expected = GetProcAddress(FindBuiltinModule("shell32"), "ProbeShellOnly");
    for (int round = 0; round < kRounds; ++round) {
        Install(entries);
        std::atomic<int> ready{0};
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&] {
                ready.fetch_add(1);
                while (ready.load() < kThreads) {
                }
                for (std::int32_t i = 0; i < kEntries; ++i)
                    if (ResolveDllCommand(i) != expected)
                        wrong.fetch_add(1);
            });
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(wrong.load(), 0);
        for (std::int32_t i = 0; i < kEntries; ++i)
            ASSERT_EQ(DllCommandModule(i), FindBuiltinModule("shell32")) << "entry " << i;
    }
    for (const char* m : {"user32", "advapi32", "mpr"})
        UnregisterBuiltinModule(m);
}

TEST_F(DllCommandTable, InstallingAgainReleasesTheModulesOfTheTableBefore)
{
    Install({{kModuleFolder + "\\testmodule.dll", "TestModuleAnswer"}});
    ASSERT_NE(ResolveDllCommand(0), nullptr);
    HMODULE module = DllCommandModule(0);
    ASSERT_NE(module, nullptr);
    Install({{"probemath.dll", "Add"}});
    EXPECT_EQ(DllCommandCount(), 1);
    EXPECT_EQ(DllCommandModule(0), nullptr);
    EXPECT_EQ(GetProcAddress(module, "TestModuleAnswer"), nullptr) << "the first table's module was not released";
}

TEST_F(DllCommandTable, TheFolderPrefixOutlivesInstallAndUnload)
{
    SetDllLibraryFolderPrefix(kModuleFolder + "\\");
    Install({{"testmodule.dll", "TestModuleAnswer"}});
    EXPECT_NE(ResolveDllCommand(0), nullptr);
    UnloadDllCommands();
    Install({{"testmodule.dll", "TestModuleAnswer"}});
    EXPECT_NE(ResolveDllCommand(0), nullptr);
}

TEST_F(DllCommandTable, AnEmptyProgramFolderIsNotTheRootOfTheFileSystem)
{
    // A module that exists only at the root: with no program folder, the
    // folder attempt must not turn into "\name".
    std::string name = "vellumry-dlltest-" + std::to_string(getpid()) + ".dll";
    std::filesystem::path atRoot = "/" + name;
    std::error_code error;
    std::filesystem::copy_file(std::string(TEST_MODULE_DIR) + "/testmodule.dll", atRoot, error);
    if (error)
        GTEST_SKIP() << "the root of the file system is not writable here";
    Runtime().programFolder.clear();
    Install({{name, "TestModuleAnswer"}});
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("无法找到指定DLL库文件“" + name + "”中的输出命令“TestModuleAnswer”"));
    std::filesystem::remove(atRoot);
}

}  // namespace
