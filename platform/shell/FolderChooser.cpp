#include "platform/shell/FolderChooser.h"

#include <cstring>
#include <map>
#include <mutex>

#include "platform/base/Guarded.h"
#include "platform/codepage/CodePage.h"
#include "platform/kernel/PathMapping.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/PathFunctions.h"
#include "platform/ui/FolderDialog.h"
#include "platform/ui/WinUser.h"

namespace vellumry::shell {
namespace {

constexpr const char* kChooserClass = "SHBrowseForFolder";

base::Guarded<FolderAnswerer>& Answerer()
{
    static base::Guarded<FolderAnswerer> answerer;
    return answerer;
}

// The folder each open chooser window has been told to preselect (runtime path).
base::Guarded<std::map<HWND, std::string>>& Selections()
{
    static base::Guarded<std::map<HWND, std::string>> selections;
    return selections;
}

LRESULT ChooserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BFFM_SETSELECTIONA: {
        std::optional<std::string> folder;
        if (wParam) {
            if (auto text = reinterpret_cast<LPCSTR>(lParam))
                folder = std::string(text);
        } else {
            folder = FolderOfIdList(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        }
        if (!folder)
            return 0;
        auto selections = Selections().Lock();
        if (auto found = selections->find(window); found != selections->end())
            found->second = *folder;
        return 0;
    }
    case BFFM_SETSTATUSTEXTA:
    case BFFM_ENABLEOK:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterChooserClass()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &ChooserProc;
        windowClass.lpszClassName = kChooserClass;
        RegisterClassA(&windowClass);
    });
}

// The chooser window, registered for selections while it lives.
class ChooserWindow {
public:
    ChooserWindow(HWND owner, LPCSTR title)
    {
        RegisterChooserClass();
        m_window = CreateWindowExA(0, kChooserClass, title ? title : "", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                                   nullptr, nullptr);
        if (m_window)
            Selections().Lock()->emplace(m_window, std::string());
    }
    ~ChooserWindow()
    {
        if (!m_window)
            return;
        Selections().Lock()->erase(m_window);
        DestroyWindow(m_window);
    }
    ChooserWindow(const ChooserWindow&) = delete;
    ChooserWindow& operator=(const ChooserWindow&) = delete;

    HWND Handle() const { return m_window; }
    std::string Selection() const
    {
        auto selections = Selections().Lock();
        auto found = selections->find(m_window);
        return found == selections->end() ? std::string() : found->second;
    }

private:
    HWND m_window = nullptr;
};

std::optional<std::string> Ask(const FolderQuestion& question)
{
    FolderAnswerer answerer = *Answerer().Lock();  // a copy: asked without the lock
    if (answerer)
        return answerer(question);
    return ui::AskForFolderWithDialog(question.owner, question.title, question.initialFolder,
                                      question.includeFiles);
}

}  // namespace

void SetFolderAnswerer(FolderAnswerer answerer)
{
    *Answerer().Lock() = std::move(answerer);
}

}  // namespace vellumry::shell

PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info)
{
    using namespace vellumry;
    if (!info)
        return nullptr;
    shell::ChooserWindow chooser(info->hwndOwner, info->lpszTitle);
    if (!chooser.Handle())
        return nullptr;
    if (info->lpfn)
        info->lpfn(chooser.Handle(), BFFM_INITIALIZED, 0, info->lParam);

    shell::FolderQuestion question;
    question.owner = info->hwndOwner;
    question.chooser = chooser.Handle();
    question.title = codepage::GbkToUtf8(info->lpszTitle ? info->lpszTitle : "");
    std::string preselected = chooser.Selection();
    question.initialFolder = preselected.empty() ? std::string() : kernel::ToHostPath(preselected);
    question.includeFiles = (info->ulFlags & BIF_BROWSEINCLUDEFILES) != 0;
    std::optional<std::string> answer = shell::Ask(question);
    if (!answer || answer->empty())
        return nullptr;

    std::string folder = kernel::ToRuntimePath(*answer);
    PIDLIST_ABSOLUTE list = shell::MakeFolderIdList(folder);
    if (list && info->pszDisplayName) {
        // Cut to the buffer at a character's start, never inside one.
        std::string name = PathFindFileNameA(folder.c_str());
        size_t fits = 0;
        for (size_t at = 0; at < name.size();) {
            size_t next = at + static_cast<size_t>(shell::GbkCharLength(&name[at]));
            if (next > MAX_PATH - 1)
                break;
            fits = at = next;
        }
        name.resize(fits);
        std::memcpy(info->pszDisplayName, name.c_str(), name.size() + 1);
    }
    return list;
}
