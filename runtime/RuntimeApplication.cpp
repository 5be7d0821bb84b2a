#include "runtime/RuntimeApplication.h"

#include <chrono>

#include "runtime/HostLayers.h"
#include "runtime/RuntimeState.h"
#include "runtime/Shutdown.h"

namespace vellumry::runtime {
namespace {

std::int64_t NowMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

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
    bool more = UiApplication::OnIdle(count);
    if (count == 0)
        m_idleStartMilliseconds = NowMilliseconds();
    if (auto idleForms = FormEngine().idleForms) {
        auto elapsed = static_cast<std::uint32_t>(NowMilliseconds() - m_idleStartMilliseconds);
        more = idleForms(count, elapsed) || more;
    }
    return more;
}

}  // namespace vellumry::runtime
