#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"

namespace {

using namespace vellumry::modules;

int Twice(int value)
{
    return value * 2;
}

const char* Hello()
{
    return "hello";
}

class LibraryLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltinExports("LoaderProbe.dll", {Export("Twice", &Twice, 12), Export("Hello", &Hello)});
    }
    void TearDown() override { UnregisterBuiltinModule("loaderprobe"); }
};

TEST_F(LibraryLoader, BuiltinNamesMatchWithoutCaseOrExtension)
{
    HMODULE a = LoadLibraryA("loaderprobe");
    HMODULE b = LoadLibraryA("LOADERPROBE.DLL");
    HMODULE c = LoadLibraryA("LoaderProbe.dll");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(FindBuiltinModule("LoaderProbe.DLL"), a);
    for (HMODULE m : {a, b, c})
        EXPECT_TRUE(FreeLibrary(m));
}

TEST_F(LibraryLoader, ExportsByNameAndOrdinalCarryTheirSignature)
{
    HMODULE module = LoadLibraryA("loaderprobe");
    FARPROC byName = GetProcAddress(module, "Twice");
    FARPROC byOrdinal = GetProcAddress(module, OrdinalName(12));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName, byOrdinal);
    EXPECT_EQ(reinterpret_cast<int (*)(int)>(byName)(21), 42);
    // Auto-assigned ordinals follow the highest one so far.
    EXPECT_EQ(GetProcAddress(module, OrdinalName(13)), GetProcAddress(module, "Hello"));

    EXPECT_TRUE(SignaturesMatch(SignatureOf<int(int)>(), FindExportSignature(byName)));
    EXPECT_FALSE(SignaturesMatch(SignatureOf<int(int, int)>(), FindExportSignature(byName)));
    EXPECT_FALSE(SignaturesMatch(SignatureOf<long(int)>(), FindExportSignature(byName)));

    // Export names are case-sensitive, as on the original.
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "twice"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, OrdinalName(99)), nullptr);
    FreeLibrary(module);
}

TEST_F(LibraryLoader, MissingModulesAndBadHandlesFailWithTheDocumentedCodes)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("no-such-module"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("\\nowhere\\loaderprobe.dll"), nullptr);  // a path never means a built-in
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);

    int notAModule = 0;
    auto forged = reinterpret_cast<HMODULE>(&notAModule);
    EXPECT_EQ(GetProcAddress(forged, "Twice"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(forged));
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(LibraryLoaderFiles, RealSharedObjectIsLoadedByPathAndUnloadedWithLastReference)
{
    std::string runtimePath = vellumry::kernel::ToRuntimePath(TEST_MODULE_DIR "/testmodule.dll");
    HMODULE first = LoadLibraryA(runtimePath.c_str());
    ASSERT_NE(first, nullptr) << runtimePath;
    HMODULE second = LoadLibraryA(runtimePath.c_str());
    EXPECT_EQ(first, second);

    auto answer = reinterpret_cast<int (*)(int)>(GetProcAddress(first, "TestModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(20), 41);
    // Shared objects know no ordinals and record no signature.
    EXPECT_EQ(GetProcAddress(first, OrdinalName(1)), nullptr);
    EXPECT_EQ(FindExportSignature(reinterpret_cast<FARPROC>(answer)), nullptr);

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(second, "TestModuleAnswer"), nullptr);  // still referenced
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(GetProcAddress(second, "TestModuleAnswer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(LibraryLoaderFiles, BareNameSearchesTheCurrentFolderAndAppendsDll)
{
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(TEST_MODULE_DIR), 0);
    HMODULE module = LoadLibraryA("testmodule");
    HMODULE noExtension = LoadLibraryA("testmodule.");  // trailing dot: no ".dll" appended
    EXPECT_EQ(chdir(previous), 0);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(noExtension, nullptr);
    FreeLibrary(module);
}

TEST(LibraryLoaderFiles, AFileThatIsNoModuleIsRefused)
{
    std::string path = std::string(TEST_MODULE_DIR) + "/garbage.dll";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not an object file", f);
    std::fclose(f);
    EXPECT_EQ(LoadLibraryA(vellumry::kernel::ToRuntimePath(path).c_str()), nullptr);
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
    std::remove(path.c_str());
}

}  // namespace
