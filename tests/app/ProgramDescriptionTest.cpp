// The program header, the DLL command table, the static data block and the
// embedded blobs of the executable's own description.

#include <gtest/gtest.h>

#include <cstring>

#include "app/AppTexts.h"
#include "app/description/DllCommandTable.h"
#include "app/description/ProgramDescription.h"
#include "forms/description/EventHandlers.h"
#include "forms/description/SupportLibraries.h"
#include "runtime/RuntimeHeap.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using test::Gbk;

TEST(ProgramHeader, ThirteenWordsPointAtTheDescription)
{
    const runtime::ProgramHeader& header = app::ProgramDescription();
    EXPECT_EQ(header.runMode, 3);
    EXPECT_EQ(header.reserved, 0);
    EXPECT_EQ(header.buildNumber, 105166);
    EXPECT_EQ(header.codeBase, forms::kHandlerCodeBase);
    EXPECT_NE(header.codeBase, 0u);
    EXPECT_EQ(header.staticDataStart, app::texts::kAppStaticDataStart());
    EXPECT_EQ(header.staticDataSize, static_cast<std::int32_t>(app::texts::kAppStaticDataSize));
    EXPECT_EQ(header.windowTemplateStart, app::WindowTemplateBytes().data());
    EXPECT_EQ(header.windowTemplateSize, static_cast<std::int32_t>(app::WindowTemplateBytes().size()));
    EXPECT_EQ(header.libraryCount, 3);
    EXPECT_EQ(header.libraries, forms::SupportLibraries());
    EXPECT_EQ(header.dllCommandCount, 20);
}

TEST(DllCommandTable, TwentyEntriesWithTheLibraryNamesAsDeclared)
{
    const std::pair<const char*, const char*> expected[] = {
        {"", "CreateThread"},
        {"ole32.dll", "CoInitialize"},
        {"ole32.dll", "CoUninitialize"},
        {"shlwapi.dll", "PathFindFileNameA"},
        {"shlwapi.dll", "PathFindExtensionA"},
        {"kernel32", "GetExitCodeThread"},
        {"Kernel32.dll", "TerminateThread"},
        {"", "SHBrowseForFolderA"},
        {"", "SHGetPathFromIDListA"},
        {"user32", "SendMessageA"},
        {"shlwapi.dll", "PathIsDirectoryA"},
        {"dbghelp.dll", "MakeSureDirectoryPathExists"},
        {"wininet.dll", "InternetOpenA"},
        {"wininet.dll", "InternetCloseHandle"},
        {"wininet.dll", "InternetConnectA"},
        {"wininet.dll", "HttpOpenRequestA"},
        {"wininet.dll", "HttpSendRequestA"},
        {"wininet.dll", "HttpSendRequestA"},
        {"wininet.dll", "InternetReadFile"},
        {"wininet.dll", "HttpQueryInfoA"},
    };
    const runtime::ProgramHeader& header = app::ProgramDescription();
    ASSERT_EQ(header.dllCommandCount, static_cast<std::int32_t>(std::size(expected)));
    for (int i = 0; i < header.dllCommandCount; ++i) {
        EXPECT_STREQ(header.dllLibraryNames[i], expected[i].first) << "index " << i;
        EXPECT_STREQ(header.dllExportNames[i], expected[i].second) << "index " << i;
    }
    EXPECT_STREQ(header.dllExportNames[app::kHttpSendRequestBytes], "HttpSendRequestA");
    EXPECT_STREQ(header.dllLibraryNames[app::kSendMessageA], "user32");
}

TEST(StaticDataBlock, TextsAreGbkConstantsInOneRangeStartingWithTheEmptyText)
{
    const runtime::ProgramHeader& header = app::ProgramDescription();
    runtime::SetStaticDataBlock(header.staticDataStart, static_cast<std::size_t>(header.staticDataSize));
    const auto& block = app::texts::kAppStaticData;
    EXPECT_EQ(static_cast<const void*>(block.kEmptyText), header.staticDataStart);
    EXPECT_STREQ(block.kEmptyText, "");
    EXPECT_EQ(std::string(block.kWaitingForDownload), Gbk("等待下载————————"));
    EXPECT_EQ(std::strlen(block.kWaitingForDownload), 24u);
    EXPECT_EQ(std::string(block.kSettingsFile), Gbk("\\用户配置.ini"));
    EXPECT_EQ(std::string(block.kSectionPattern), "\xB7\xD6\xCF\xED([\\S\\s]*?)<!--" + Gbk("大图默认") + "end-->");
    for (const char* text : {block.kEmptyText, block.kWorkersStopped, block.kDefaultChooserTitle})
        EXPECT_TRUE(runtime::IsStaticData(text));
    runtime::ClearStaticDataBlock();
}

TEST(EmbeddedBlobs, TemplateAndIconAreLinkedIn)
{
    EXPECT_GT(app::WindowTemplateBytes().size(), 10956878u);
    auto icon = app::ProgramIconBytes();
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(icon[0], 0);
    EXPECT_EQ(icon[1], 0);
    EXPECT_EQ(icon[2], 1);  // an icon, not a cursor
    EXPECT_EQ(icon[3], 0);
    EXPECT_GT(icon[4] | icon[5], 0);
}

}  // namespace
