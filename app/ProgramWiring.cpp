#include "app/ProgramWiring.h"

#include <memory>

#include "app/EventHandlerTable.h"
#include "app/description/ProgramDescription.h"
#include "automation/AutomationCommands.h"
#include "forms/description/SupportLibraries.h"
#include "forms/engine/FormEngineWiring.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitEnumeration.h"
#include "platform/kernel/KernelExports.h"
#include "platform/kernel/ThreadStop.h"
#include "platform/net/TransferAbort.h"
#include "platform/net/WinInet.h"
#include "platform/shell/ShellExports.h"
#include "platform/vbscript/RegExpComponent.h"
#include "platform/winhttp/WinHttpRequestComponent.h"
#include "platform/ui/User32Exports.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/base/SharedBytes.h"
#include "runtime/HostLayers.h"
#include "runtime/Startup.h"
#include "sound/MusicService.h"
#include "units/common/UnitHost.h"
#include "units/ExtendedUiCommands.h"
#include "units/button/ButtonUnitType.h"
#include "units/editbox/EditBoxUnitType.h"
#include "units/listview/ListViewUnitType.h"
#include "units/picturebox/PictureBoxUnitType.h"
#include "units/statusbar/StatusBarUnitType.h"
#include "units/translabel/TransLabelUnitType.h"
#include "units/window/WindowUnitType.h"

namespace vellumry::app {
namespace {

// The music service behind HostNotify 2015 and 2016 and the shutdown's stop.
void WireMusic()
{
    runtime::SoundHooks hooks;
    // The bytes usually lie in a window's description block, which lends
    // them: the player keeps that block alive instead of copying megabytes
    // of music (Borrow copies only bytes that no storage lent).
    hooks.playMusic = [](const std::uint8_t* data, std::int32_t length, bool loop) {
        if (!data || length <= 0)
            return false;
        auto held = std::make_shared<const runtime::SharedBytes>(
            runtime::SharedBytes::Borrow({data, static_cast<std::size_t>(length)}));
        return sound::PlayMusic(sound::MusicBytes::Shared(held->Span(), held), loop);
    };
    hooks.stopAllMusic = [](bool wait) { sound::StopMusic(wait); };
    runtime::SetSoundHooks(hooks);
}

// A worker told to stop ends its transfer at once: the transfers ask whether
// their thread was stopped, and a stop wakes those waiting on the network.
void WireTransferStop()
{
    net::SetTransferAbortPredicate(&kernel::CurrentThreadStopRequested);
    kernel::AddStopListener(&net::WakeTransfers);
}

}  // namespace

void WireProgram()
{
    kernel::RegisterKernelExports();
    ui::RegisterUser32Exports();
    net::RegisterWinInetExports();
    shell::RegisterShellExports();
    runtime::InstallRuntimeCoreCommands();
    automation::InstallAutomation();
    vbscript::RegisterRegExpComponent();
    winhttp::RegisterWinHttpRequestComponent();
    forms::InstallFormEngine();
    forms::InstallUnitEnumerationCommands();
    units::InstallWindowUnitType();
    units::InstallPictureBoxUnitType();
    units::InstallButtonUnitType();
    units::InstallEditBoxUnitType();
    units::InstallTransLabelUnitType();
    units::InstallStatusBarUnitType();
    units::InstallListViewUnitType();
    units::InstallExtendedUiCommands();
    // Every unit type lives in the core or the extended-UI library.
    forms::SetLibraryNotify(1, units::UnitLibraryNotify);
    forms::SetLibraryNotify(2, units::UnitLibraryNotify);
    forms::SetProgramIconData(ProgramIconBytes());
    forms::SetEventHandlers(EventHandlerTable());
    WireMusic();
    WireTransferStop();
    runtime::SetProgramHeader(&ProgramDescription());
}

}  // namespace vellumry::app
