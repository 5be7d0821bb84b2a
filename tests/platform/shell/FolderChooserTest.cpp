#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/PathMapping.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/shell/FolderChooser.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/ShellExports.h"
#include "platform/ui/WinUser.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using test::Gbk;

// What the callback saw, and the folder it preselects.
struct CallbackLog {
    std::string preselect;  // runtime path sent with BFFM_SETSELECTIONA; empty: none
    std::vector<UINT> messages;
    std::vector<LPARAM> data;
    HWND window = nullptr;
    bool windowWasLive = false;
};

int RecordingCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    auto* log = reinterpret_cast<CallbackLog*>(data);
    log->messages.push_back(message);
    log->data.push_back(data);
    log->window = window;
    log->windowWasLive = IsWindow(window);
    if (message == BFFM_INITIALIZED && !log->preselect.empty())
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(log->preselect.c_str()));
    return 1;
}

class FolderChooser : public ::testing::Test {
protected:
    void SetUp() override { shell::RegisterShellExports(); }
    void TearDown() override { shell::SetFolderAnswerer({}); }

    // Installs an answerer that records the question and answers `answer`.
    void AnswerWith(std::optional<std::string> answer)
    {
        shell::SetFolderAnswerer([this, answer](const shell::FolderQuestion& question) {
            m_questions.push_back(question);
            m_chooserLiveWhileAsked = IsWindow(question.chooser);
            return answer;
        });
    }

    std::vector<shell::FolderQuestion> m_questions;
    bool m_chooserLiveWhileAsked = false;
};

TEST_F(FolderChooser, TheCallbacksSelectionReachesTheAnswererAndTheChoiceComesBackAsAList)
{
    AnswerWith("/srv/图片/相册");
    CallbackLog log;
    log.preselect = Gbk("D:\\下载\\乗");
    const std::string title = Gbk("请选择文件夹");
    char displayName[MAX_PATH];
    std::memset(displayName, 'x', sizeof displayName);

    BROWSEINFOA info{};
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = &RecordingCallback;
    info.lParam = reinterpret_cast<LPARAM>(&log);
    info.pszDisplayName = displayName;
    PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
    ASSERT_NE(list, nullptr);

    // The callback ran once, with the chooser window alive and its data.
    EXPECT_EQ(log.messages, std::vector<UINT>{BFFM_INITIALIZED});
    EXPECT_EQ(log.data, std::vector<LPARAM>{info.lParam});
    EXPECT_TRUE(log.windowWasLive);
    // The chooser window is gone once the chooser returned.
    EXPECT_FALSE(IsWindow(log.window));

    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_TRUE(m_chooserLiveWhileAsked);
    EXPECT_EQ(m_questions[0].chooser, log.window);
    EXPECT_EQ(m_questions[0].title, "请选择文件夹");
    // The drive names the one root there is.
    EXPECT_EQ(m_questions[0].initialFolder, "/下载/乗");
    EXPECT_FALSE(m_questions[0].includeFiles);

    char path[512];
    std::memset(path, ' ', sizeof path);
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_EQ(std::string(path), Gbk("\\srv\\图片\\相册"));
    EXPECT_EQ(std::string(displayName), Gbk("相册"));
    ILFree(list);
    EXPECT_EQ(shell::LiveIdListCount(), 0u);
}

TEST_F(FolderChooser, ACancelledChooserGivesNoListAndLeavesThePathBufferAlone)
{
    AnswerWith(std::nullopt);
    BROWSEINFOA info{};
    info.ulFlags = BIF_BROWSEINCLUDEFILES;
    EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_TRUE(m_questions[0].includeFiles);
    EXPECT_EQ(m_questions[0].initialFolder, "");  // nothing was preselected

    // The application hands the null list on with a buffer of blanks.
    std::string blanks(512, ' ');
    EXPECT_FALSE(SHGetPathFromIDListA(nullptr, blanks.data()));
    EXPECT_EQ(blanks, std::string(512, ' '));
    EXPECT_EQ(SHBrowseForFolderA(nullptr), nullptr);
}

TEST_F(FolderChooser, WithoutAnAnswererTheDialogNobodyCanSeeCountsAsCancelled)
{
    // The tests run on the offscreen platform, where no person can answer.
    BROWSEINFOA info{};
    EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
}

TEST_F(FolderChooser, ASelectionByItemListIsUnderstoodAndForeignListsAreRefused)
{
    AnswerWith("/tmp");
    PIDLIST_ABSOLUTE preselected = shell::MakeFolderIdList(Gbk("\\home\\乗"));
    ASSERT_NE(preselected, nullptr);
    BROWSEINFOA info{};
    info.lParam = reinterpret_cast<LPARAM>(preselected);
    info.lpfn = [](HWND window, UINT message, LPARAM, LPARAM data) {
        if (message == BFFM_INITIALIZED) {
            // A list this chooser did not make is refused; the real one counts.
            char foreign[16] = {4, 0, 'x', 0, 0, 0};
            SendMessageA(window, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(foreign));
            SendMessageA(window, BFFM_SETSELECTIONA, FALSE, data);
        }
        return 0;
    };
    PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0].initialFolder, "/home/乗");
    ILFree(list);
    ILFree(preselected);

    // A freed list is no longer read.
    char path[MAX_PATH] = "unchanged";
    EXPECT_FALSE(SHGetPathFromIDListA(preselected, path));
    EXPECT_STREQ(path, "unchanged");
}

TEST_F(FolderChooser, ALongDisplayNameIsCutBetweenCharacters)
{
    // 200 two-byte characters: the name is cut after 129 of them (258 bytes),
    // not inside the 130th.
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "图";
    AnswerWith("/" + name);
    char displayName[MAX_PATH];
    BROWSEINFOA info{};
    info.pszDisplayName = displayName;
    PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(std::strlen(displayName), 258u);
    EXPECT_EQ(test::Utf8(displayName), name.substr(0, 129 * 3));
    ILFree(list);
}

TEST(ItemIdList, APathThatDoesNotFitMaxPathIsRefused)
{
    std::string longest(MAX_PATH - 1, 'a');
    std::string tooLong(MAX_PATH, 'a');
    PIDLIST_ABSOLUTE fits = shell::MakeFolderIdList(longest);
    PIDLIST_ABSOLUTE overflows = shell::MakeFolderIdList(tooLong);
    std::string buffer(MAX_PATH, ' ');
    EXPECT_TRUE(SHGetPathFromIDListA(fits, buffer.data()));
    EXPECT_EQ(std::string(buffer.c_str()), longest);
    buffer.assign(MAX_PATH, ' ');
    EXPECT_FALSE(SHGetPathFromIDListA(overflows, buffer.data()));
    EXPECT_EQ(buffer, std::string(MAX_PATH, ' '));
    ILFree(fits);
    ILFree(overflows);
}

// The program's DLL command table names these libraries and exports; an
// empty library name is searched in the system libraries, shell32 among them.
TEST(ShellExports, AreFoundUnderTheLibraryNamesTheProgramDeclares)
{
    shell::RegisterShellExports();
    const std::pair<const char*, const char*> declared[] = {
        {"shlwapi.dll", "PathFindFileNameA"}, {"shlwapi.dll", "PathFindExtensionA"},
        {"Shell32.dll", "SHBrowseForFolderA"}, {"Shell32.dll", "SHGetPathFromIDListA"},
        {"shlwapi.dll", "PathIsDirectoryA"},  {"dbghelp.dll", "MakeSureDirectoryPathExists"},
    };
    for (const auto& [library, name] : declared) {
        HMODULE module = LoadLibraryA(library);
        ASSERT_NE(module, nullptr) << library;
        EXPECT_NE(GetProcAddress(module, name), nullptr) << library << " " << name;
        FreeLibrary(module);
    }
}

}  // namespace
