#include "app/FolderBrowser.h"

#include "app/AppTexts.h"
#include "app/ApplicationGlobals.h"
#include "app/description/DllCommandTable.h"
#include "platform/shell/ShellTypes.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

constexpr std::int32_t kPathBufferBlanks = 512;

HWND AsWindow(std::int32_t handle)
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle));
}

// Replaces a global text with a copy of `text` (null: the empty text).
void StoreGlobalText(runtime::TextValue& global, const char* text)
{
    runtime::TextValue copy = runtime::MakeTextOrNull(text ? text : "");
    runtime::GetRuntimeInterface().runtimeFree(global);
    global = copy;
}

}  // namespace

int BrowseCallback(HWND window, UINT message, LPARAM, LPARAM)
{
    if (message == BFFM_INITIALIZED) {
        const char* folder = Globals().browseInitialFolder;
        runtime::CallDllCommand<LRESULT(HWND, UINT, WPARAM, LPARAM)>(
            kSendMessageA, kSendMessageA, 0, window, BFFM_SETSELECTIONA, WPARAM{1},
            reinterpret_cast<LPARAM>(folder ? folder : ""));
    }
    return 1;
}

OwnedText BrowseForFolder(const BrowseOptions& options)
{
    BROWSEINFOA info{};
    info.hwndOwner = AsWindow(options.owner);
    info.lpszTitle = options.title ? options.title : kText.kDefaultChooserTitle;
    info.ulFlags = static_cast<UINT>(BitOr({options.editBox ? static_cast<std::int32_t>(BIF_EDITBOX) : 0,
                                            options.newDialogStyle ? static_cast<std::int32_t>(BIF_NEWDIALOGSTYLE) : 0,
                                            options.includeFiles ? static_cast<std::int32_t>(BIF_BROWSEINCLUDEFILES)
                                                                 : 0}));
    info.lpfn = &BrowseCallback;
    StoreGlobalText(Globals().browseInitialFolder, options.initialFolder);

    PIDLIST_ABSOLUTE list = runtime::CallDllCommand<PIDLIST_ABSOLUTE(LPBROWSEINFOA)>(
        kSHBrowseForFolderA, kSHBrowseForFolderA, 0, &info);
    OwnedText buffer = BlankText(kPathBufferBlanks);
    runtime::CallDllCommand<BOOL(PCIDLIST_ABSOLUTE, LPSTR)>(kSHGetPathFromIDListA, kSHGetPathFromIDListA, 0,
                                                            list, buffer.get());
    return TrimSpaces(buffer.get());
}

}  // namespace vellumry::app
