#include "runtime/RuntimeState.h"

#include "platform/kernel/ModuleFileName.h"

namespace vellumry::runtime {

RuntimeState& Runtime()
{
    static RuntimeState state;
    return state;
}

ProgramPath SplitProgramPath()
{
    char path[4096];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string full(path, length);
    size_t slash = full.rfind('\\');
    if (slash == std::string::npos)
        return {std::string(), full, false};
    return {full.substr(0, slash), full.substr(slash + 1), true};
}

bool OnMainThread()
{
    const RuntimeState& state = Runtime();
    return state.mainThread == std::thread::id() || state.mainThread == std::this_thread::get_id();
}

}  // namespace vellumry::runtime
