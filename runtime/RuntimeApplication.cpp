#include "runtime/RuntimeApplication.h"

#include "runtime/HostLayers.h"
#include "runtime/RuntimeState.h"
#include "runtime/Shutdown.h"

namespace vellumry::runtime {

RuntimeApplication::RuntimeApplication(int& argc, char** argv, ProgramEntry entry)
    : UiApplication(argc, argv), m_entry(entry)
{
}

bool RuntimeApplication::InitInstance()
{
    // The folder of the module that started the runtime, with its "\".
    ProgramPath path = SplitProgramPath();
    Runtime().startModuleFolder = path.hasSeparator ? path.folder + "\\" : std::string();
    // A zero result skips the framework's own message loop.
    return m_entry && m_entry() != 0;
}

int RuntimeApplication::ExitInstance()
{
    RunShutdown();
    EndProcessUnlessWorkersEnded(0);
    return 0;
}

bool RuntimeApplication::OnIdle(long count)
{
    // The framework's own work, then the forms, told how long ago the idle
    // period began.
    bool more = UiApplication::OnIdle(count);
    if (auto idleForms = FormEngine().idleForms)
        more = idleForms(count, IdleMilliseconds()) || more;
    return more;
}

}  // namespace vellumry::runtime
