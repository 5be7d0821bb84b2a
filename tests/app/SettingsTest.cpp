// The settings file's value rules, its default file, the folder helpers and
// the picture host setting, through the program's commands.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "app/PictureHost.h"
#include "app/ProgramWiring.h"
#include "app/Settings.h"
#include "app/description/DllCommandTable.h"
#include "platform/kernel/PathMapping.h"
#include "runtime/DllCommands.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry;
using test::Gbk;

std::string Str(const app::OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

bool IsHostFolder(const std::string& hostPath)
{
    struct stat info {};
    return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::WireProgram();
        runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
    }
    void TearDown() override { runtime::UnloadDllCommands(); }
};

TEST_F(Settings, LineBreaksAreStoredAsMarkersAndComeBackAsCrLf)
{
    const std::string twoLines = Gbk("http://127.0.0.1:8808/tu/1_1.shtml\r\n第二行");
    app::OwnedText stored = app::ToStoredValue(twoLines.c_str());
    EXPECT_EQ(Str(stored), Gbk("http://127.0.0.1:8808/tu/1_1.shtml><br><第二行"));
    EXPECT_EQ(Str(app::FromStoredValue(stored.get())), twoLines);

    // Only the CR LF pair is a line break; a lone LF or CR stays as it is.
    EXPECT_EQ(Str(app::ToStoredValue("a\nb\rc\r\n\r\n")), "a\nb\rc><br><><br><");
    // The marker is matched exactly, letter case and all.
    EXPECT_EQ(Str(app::FromStoredValue("x><BR><y><br><")), "x><BR><y\r\n");
    EXPECT_EQ(Str(app::ToStoredValue("")), "");
    EXPECT_EQ(Str(app::FromStoredValue(nullptr)), "");
}

TEST_F(Settings, TheExclusionListNamesUnitsSeparatedByBars)
{
    const std::string list = Gbk("编辑框_网页地址|编辑框_保存路径");
    EXPECT_FALSE(app::SelectedNameFilter(list.c_str(), Gbk("编辑框_网页地址").c_str()));
    EXPECT_FALSE(app::SelectedNameFilter(list.c_str(), Gbk("编辑框_保存路径").c_str()));
    EXPECT_TRUE(app::SelectedNameFilter(list.c_str(), Gbk("编辑框_起始页码").c_str()));
    EXPECT_TRUE(app::SelectedNameFilter(list.c_str(), Gbk("编辑框_网页").c_str()));  // whole names only
    EXPECT_TRUE(app::SelectedNameFilter("", Gbk("编辑框_终止页码").c_str()));
    EXPECT_TRUE(app::SelectedNameFilter(nullptr, "Box"));
    EXPECT_TRUE(app::SelectedNameFilter("box|other", "Box"));  // letter case counts
    EXPECT_FALSE(app::SelectedNameFilter("a||Box|", "Box"));
}

TEST_F(Settings, TheDefaultFileLivesInADataFolderThatIsMadeWhenMissing)
{
    const std::string folder = Str(app::ProgramFolder());
    ASSERT_FALSE(folder.empty());
    const std::string hostData = kernel::ToHostPath(folder + "\\data");
    std::filesystem::remove_all(hostData);

    EXPECT_EQ(Str(app::DefaultSettingsPath()), folder + "\\data\\setsoft.ini");
    EXPECT_TRUE(IsHostFolder(hostData));
    EXPECT_EQ(Str(app::ProgramSettingsPath()), folder + Gbk("\\用户配置.ini"));
    std::filesystem::remove_all(hostData);
}

TEST_F(Settings, FolderHelpersGoThroughTheProgramsPathCommands)
{
    test::ScopedTempDir dir;
    const std::string base = kernel::ToRuntimePath(dir.Path());
    EXPECT_TRUE(app::IsFolder(base.c_str()));
    EXPECT_FALSE(app::IsFolder((base + "\\none").c_str()));

    // With and without the closing separator the last folder is made; a last
    // character whose trail byte is the code of "\" ("乗") is no separator.
    EXPECT_TRUE(app::EnsureFolderExists((base + Gbk("\\图片\\乗")).c_str()));
    EXPECT_TRUE(IsHostFolder(dir.Path() + "/图片/乗"));
    EXPECT_TRUE(app::EnsureFolderExists((base + "\\two\\").c_str()));
    EXPECT_TRUE(IsHostFolder(dir.Path() + "/two"));
    EXPECT_TRUE(app::IsFolder((base + "\\two").c_str()));

    dir.Write("file", "x");
    EXPECT_FALSE(app::EnsureFolderExists((base + "\\file\\below").c_str()));
    EXPECT_NE(runtime::DllCommandModule(app::kMakeSureDirectoryPathExists), nullptr);
}

TEST_F(Settings, ThePictureHostComesFromTheSiteSectionWhenItHoldsOne)
{
    test::ScopedTempDir dir;
    const std::string missing = kernel::ToRuntimePath(dir.File("none.ini"));
    EXPECT_EQ(Str(app::PictureHost(missing.c_str())), "http://127.0.0.1:8808");
    EXPECT_EQ(Str(app::PictureHost(nullptr)), "http://127.0.0.1:8808");

    const std::string configured = kernel::ToRuntimePath(
        dir.Write("set.ini", Gbk("[编辑框]\r\n编辑框_起始页码=1\r\n[站点]\r\n图片主机=http://127.0.0.1:9000\r\n")));
    EXPECT_EQ(Str(app::PictureHost(configured.c_str())), "http://127.0.0.1:9000");

    const std::string empty =
        kernel::ToRuntimePath(dir.Write("empty.ini", Gbk("[站点]\r\n图片主机=  \r\n")));
    EXPECT_EQ(Str(app::PictureHost(empty.c_str())), "http://127.0.0.1:8808");
}

}  // namespace
