// The folder button's chooser through the program's DLL commands 7 to 9, with
// an answerer standing in for the person.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/ApplicationGlobals.h"
#include "app/FolderBrowser.h"
#include "app/ProgramWiring.h"
#include "app/description/DllCommandTable.h"
#include "platform/shell/FolderChooser.h"
#include "runtime/DllCommands.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using test::Gbk;

std::string Str(const app::OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

class FolderBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::WireProgram();
        runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
    }
    void TearDown() override
    {
        shell::SetFolderAnswerer({});
        app::ReleaseGlobals(0);
        runtime::UnloadDllCommands();
    }
    void AnswerWith(std::optional<std::string> answer)
    {
        shell::SetFolderAnswerer([this, answer](const shell::FolderQuestion& question) {
            m_questions.push_back(question);
            return answer;
        });
    }
    std::vector<shell::FolderQuestion> m_questions;
};

TEST_F(FolderBrowser, TheChosenFolderComesBackAsARuntimePath)
{
    AnswerWith("/srv/图片/相册");
    const std::string title = Gbk("请选择文件夹");
    app::OwnedText folder = app::BrowseForFolder({.title = title.c_str()});
    EXPECT_EQ(Str(folder), Gbk("\\srv\\图片\\相册"));
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0].title, "请选择文件夹");
    EXPECT_EQ(m_questions[0].initialFolder, "");  // none given: nothing preselected
    EXPECT_FALSE(m_questions[0].includeFiles);
    for (std::int32_t index : {app::kSHBrowseForFolderA, app::kSHGetPathFromIDListA})
        EXPECT_NE(runtime::DllCommandModule(index), nullptr) << index;
}

TEST_F(FolderBrowser, TheCallbackPreselectsTheInitialFolderThroughSendMessage)
{
    AnswerWith("/tmp");
    const std::string initial = Gbk("D:\\下载\\乗");
    app::BrowseForFolder({.includeFiles = true, .initialFolder = initial.c_str()});
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0].initialFolder, "/下载/乗");
    EXPECT_EQ(m_questions[0].title, "请选择一个文件夹");  // the default title
    EXPECT_TRUE(m_questions[0].includeFiles);
    EXPECT_STREQ(app::Globals().browseInitialFolder, initial.c_str());
    EXPECT_NE(runtime::DllCommandModule(app::kSendMessageA), nullptr);
}

TEST_F(FolderBrowser, ACancelledChooserGivesTheEmptyText)
{
    AnswerWith(std::nullopt);
    EXPECT_EQ(Str(app::BrowseForFolder({})), "");
    // Nobody to answer at all (the offscreen dialog): cancelled as well.
    shell::SetFolderAnswerer({});
    EXPECT_EQ(Str(app::BrowseForFolder({})), "");
}

TEST_F(FolderBrowser, TheCallbackAnswersOneForEveryMessage)
{
    EXPECT_EQ(app::BrowseCallback(nullptr, 2, 0, 0), 1);  // BFFM_SELCHANGED: nothing sent
}

}  // namespace
