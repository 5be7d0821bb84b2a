#include <gtest/gtest.h>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/KernelExports.h"
#include "platform/kernel/ProfileApi.h"
#include "platform/modules/ExportSignature.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"

namespace {

using namespace vellumry;

TEST(KernelExports, FileAndProfileFunctionsAreFoundByNameWithTheirTypes)
{
    kernel::RegisterKernelExports();
    kernel::RegisterKernelExports();  // a second call changes nothing
    HMODULE kernel32 = LoadLibraryA("KERNEL32.DLL");
    ASSERT_NE(kernel32, nullptr);
    FARPROC create = GetProcAddress(kernel32, "CreateFileA");
    EXPECT_EQ(create, reinterpret_cast<FARPROC>(&CreateFileA));
    EXPECT_TRUE(modules::SignaturesMatch(modules::SignatureOf<decltype(CreateFileA)>(),
                                         modules::FindExportSignature(create)));
    EXPECT_FALSE(modules::SignaturesMatch(modules::SignatureOf<decltype(WriteFile)>(),
                                          modules::FindExportSignature(create)));
    for (const char* name : {"WriteFile", "CloseHandle", "ReadFile", "MoveFileExA", "DeleteFileA",
                             "GetPrivateProfileStringA", "WritePrivateProfileStringA", "GetModuleFileNameA"})
        EXPECT_NE(GetProcAddress(kernel32, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(kernel32, "WritePrivateProfileStringA"),
              reinterpret_cast<FARPROC>(&WritePrivateProfileStringA));
    FreeLibrary(kernel32);
}

}  // namespace
