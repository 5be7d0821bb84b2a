// A small program on the real start-up path: the runtime's application
// object, runtime initialisation from a program header, the start form, the
// message loop and the shutdown. Every step it can observe is printed, one
// line each, so tests can check the order. The first argument names the
// scenario:
//   close-later    the start form closes from the message loop
//   close-at-once  the start form closes while it loads
//   worker-end     a worker thread ends the program with code 5
//   error          a handler reports a runtime error
//   close-with-workers  the start form closes while workers call into the
//                  window and the DLL commands in a loop
//   close-with-stuck-worker  the start form closes while a worker runs
//                  without ever calling into the runtime

#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "forms/description/EventHandlers.h"
#include "forms/description/SupportLibraries.h"
#include "forms/description/TemplateWriter.h"
#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngineWiring.h"
#include "forms/engine/HostNotify.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelExports.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/modules/ExportSignature.h"
#include "runtime/DllCommands.h"
#include "runtime/ErrorReporter.h"
#include "runtime/HiddenOwner.h"
#include "runtime/HostLayers.h"
#include "runtime/RuntimeApplication.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeService.h"
#include "runtime/Shutdown.h"
#include "runtime/Startup.h"
#include "units/common/UnitHost.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;

constexpr std::uint32_t kFormId = 0x52010001;
std::string g_scenario;
const char g_staticBlock[16] = "constants";

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t value1, std::intptr_t value2)
{
    Say("library notify " + std::to_string(code));
    return units::UnitLibraryNotify(code, value1, value2);
}

void ExitRoutine(std::int32_t position)
{
    Say("exit routine " + std::to_string(position));
    if (g_scenario.starts_with("close-with-"))
        Say("live workers " + std::to_string(kernel::LiveWorkerCount()));
}

// Calls into the window and through the DLL command table until stopped.
DWORD BusyWorker(LPVOID parameter)
{
    HWND window = static_cast<HWND>(parameter);
    for (;;) {
        SetWindowTextA(window, "busy");
        SendMessageA(window, WM_USER + 1, 0, 0);
        auto lastError = reinterpret_cast<DWORD (*)()>(
            runtime::CheckedDllCommandAddress(0, modules::SignatureOf<decltype(GetLastError)>(), 0, 0));
        lastError();
    }
}

// Never calls into the runtime, so nothing can unwind it.
DWORD StuckWorker(LPVOID)
{
    static std::atomic<bool> never{false};
    while (!never.load())
        ;
    return 0;
}

void CloseSoon(HWND window)
{
    QTimer::singleShot(100, [window] { SendMessageA(window, WM_CLOSE, 0, 0); });
}

void WindowLoaded(forms::EventCall&)
{
    Say("window event 0");
    HWND window = reinterpret_cast<HWND>(
        reinterpret_cast<ui::WindowObject*>(forms::HostNotify(forms::kNotifyResolveUnit, kFormId, 0))->Handle());
    if (g_scenario == "close-at-once") {
        DestroyWindow(window);
    } else if (g_scenario == "close-later") {
        QTimer::singleShot(0, [window] { SendMessageA(window, WM_CLOSE, 0, 0); });
    } else if (g_scenario == "worker-end") {
        std::thread([] { runtime::GetRuntimeInterface().endProgram(5); }).detach();
    } else if (g_scenario == "close-with-workers") {
        for (int i = 0; i < 3; ++i)
            CreateThread(nullptr, 0, BusyWorker, window, 0, nullptr);
        CloseSoon(window);
    } else if (g_scenario == "close-with-stuck-worker") {
        CreateThread(nullptr, 0, StuckWorker, nullptr, 0, nullptr);
        CloseSoon(window);
    } else if (g_scenario == "error") {
        runtime::GetRuntimeInterface().reportErrorCode(1, 0, 0);
    }
}

std::vector<std::uint8_t> TemplateBytes()
{
    units::WindowProperties window;
    window.Caption = "probe";
    forms::UnitRecordFields unit;
    unit.unitId = 0x06010000;
    unit.type = runtime::kWindowType;
    unit.position = {10, 10, 200, 100};
    unit.flags = forms::kUnitVisible;
    unit.events = {{0, 0}};  // handler list position 0
    unit.specific = units::SaveRecord(window);
    forms::FormDescription form;
    form.formId = kFormId;
    form.units.push_back(unit);
    return forms::WriteTemplate(std::span(&form, 1));
}

// The application's program entry, as the runtime calls it.
int ProgramEntry()
{
    const runtime::RuntimeInterface& api = runtime::GetRuntimeInterface();
    api.runtimeService(runtime::kServiceInitialize);
    Say("initialised: hidden owner " + std::string(runtime::HiddenOwner() ? "yes" : "no") + ", dll commands " +
        std::to_string(runtime::DllCommandCount()));
    api.runtimeService(runtime::kServiceRegisterExitRoutine, &ExitRoutine);
    api.runtimeService(runtime::kServiceRegisterExitRoutine, &ExitRoutine);
    api.loadStartForm(kFormId);
    Say("start form loaded");
    api.runMessageLoop();
    Say("loop returned");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    g_scenario = argc > 1 ? argv[1] : "close-later";

    kernel::RegisterKernelExports();
    forms::InstallFormEngine();
    units::InstallWindowUnitType();
    runtime::FormEngineHooks hooks = runtime::FormEngine();
    static auto realInstall = hooks.installTemplate;
    static auto realRelease = hooks.releaseForms;
    hooks.installTemplate = [](const runtime::ProgramHeader& header) {
        Say("template installed");
        realInstall(header);
    };
    hooks.releaseForms = [] {
        Say("forms released");
        realRelease();
    };
    runtime::SetFormEngineHooks(hooks);
    runtime::SetComponentModelHooks({[] {
                                         Say("component model up");
                                         return true;
                                     },
                                     [] { Say("component model down"); }});
    runtime::SetSoundHooks({nullptr, [](bool wait) {
                                Say(std::string("music stopped") + (wait ? " and waited" : "") +
                                    ", static block " +
                                    (runtime::IsStaticData(g_staticBlock) ? "kept" : "cleared") +
                                    ", dll commands " + std::to_string(runtime::DllCommandCount()) +
                                    ", hidden owner " + (runtime::HiddenOwner() ? "alive" : "gone"));
                            }});
    static const forms::EventHandler handlers[] = {WindowLoaded};
    forms::SetEventHandlers(handlers);
    forms::SetLibraryNotify(1, LibraryNotify);
    forms::SetLibraryNotify(2, LibraryNotify);

    static std::vector<std::uint8_t> templ = TemplateBytes();
    static const char* libraries[] = {"kernel32"};
    static const char* exports[] = {"GetLastError"};
    static runtime::ProgramHeader header;
    header.runMode = 3;
    header.buildNumber = 41;
    header.codeBase = forms::kHandlerCodeBase;
    header.staticDataStart = g_staticBlock;
    header.staticDataSize = sizeof g_staticBlock;
    header.windowTemplateStart = templ.data();
    header.windowTemplateSize = static_cast<std::int32_t>(templ.size());
    header.libraryCount = forms::kSupportLibraryCount;
    header.libraries = forms::SupportLibraries();
    header.dllCommandCount = 1;
    header.dllLibraryNames = libraries;
    header.dllExportNames = exports;
    runtime::SetProgramHeader(&header);

    runtime::RuntimeApplication application(argc, argv, ProgramEntry);
    int code = application.Run();
    Say("process ends with " + std::to_string(code));
    return code;
}
