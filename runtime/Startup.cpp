#include "runtime/Startup.h"

#include <unistd.h>

#include <thread>

#include "platform/kernel/PathMapping.h"
#include "platform/ui/UiApplication.h"
#include "runtime/DllCommands.h"
#include "runtime/ErrorReporter.h"
#include "runtime/HiddenOwner.h"
#include "runtime/HostLayers.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeState.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::runtime {
namespace {

constexpr std::int32_t kLibraryStartNotice = 1;

void NotifyLibrariesOfStart(RuntimeState& state, const ProgramHeader& header)
{
    state.libraryValues.assign(static_cast<size_t>(std::max(header.libraryCount, 0)), 0);
    for (std::int32_t i = 0; i < header.libraryCount; ++i) {
        const LibraryRecord* library = header.libraries[i];
        if (library && library->notify)
            library->notify(kLibraryStartNotice, reinterpret_cast<std::intptr_t>(FormEngine().hostNotify), 0);
    }
}

}  // namespace

void SetProgramHeader(const ProgramHeader* header)
{
    Runtime().header = header;
}

void InitializeRuntime()
{
    RuntimeState& state = Runtime();
    static const ProgramHeader kEmpty{};
    const ProgramHeader& header = state.header ? *state.header : kEmpty;

    // The runtime heap is the process's default heap: nothing to set up.
    state.runMode = header.runMode;
    state.reservedWord = header.reserved;
    state.buildNumberPlusOne = header.buildNumber + 1;

    if (!state.oleInitializedByRuntime && ComponentModel().initialize)
        state.oleInitializedByRuntime = ComponentModel().initialize();

    ProgramPath path = SplitProgramPath();
    state.programFolder = path.folder;
    state.programFileName = path.fileName;
    if (!state.programFolder.empty())
        (void)chdir(kernel::ToHostPath(state.programFolder).c_str());

    CreateHiddenOwner();

    state.mainThread = std::this_thread::get_id();
    if (header.staticDataStart && header.staticDataSize > 0)
        SetStaticDataBlock(header.staticDataStart, static_cast<std::size_t>(header.staticDataSize));

    if (header.dllCommandCount > 0)
        InstallDllCommands(header.dllCommandCount, header.dllLibraryNames, header.dllExportNames);

    NotifyLibrariesOfStart(state, header);

    if (FormEngine().installTemplate)
        FormEngine().installTemplate(header);
}

void LoadStartForm(std::uint32_t formId)
{
    if (FormEngine().loadStartForm)
        return FormEngine().loadStartForm(formId);
    ReportError(texts::kStartFormLoadFailed, 0, static_cast<std::int32_t>(formId), 0);
}

void RunMessageLoop()
{
    RuntimeState& state = Runtime();
    state.messageLoopEntered.store(true);
    auto anyLiveForm = FormEngine().anyLiveForm;
    ui::UiApplication* app = ui::UiApplication::Instance();
    if (!app || !anyLiveForm || !anyLiveForm())
        return;
    app->ForgetQuit();
    app->RunLoop([app](long count) { return IdleStep(*app, count); });
}

}  // namespace vellumry::runtime
