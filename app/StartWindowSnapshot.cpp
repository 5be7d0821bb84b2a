#include "app/StartWindowSnapshot.h"

#include "app/description/ProgramDescription.h"
#include "forms/engine/FormEngine.h"
#include "platform/ui/WinUser.h"
#include "runtime/RuntimeState.h"

namespace vellumry::app {

StartWindowSnapshot::StartWindowSnapshot(int& argc, char** argv, ProgramEntry entry, std::string hostPath)
    : RuntimeApplication(argc, argv, entry), m_path(std::move(hostPath))
{
}

bool StartWindowSnapshot::OnIdle(long count)
{
    bool more = RuntimeApplication::OnIdle(count);
    if (m_taken || !runtime::Runtime().messageLoopEntered.load())
        return more;
    ui::WindowObject* window = forms::ResolveUnit(kStartFormId, 0);
    if (!window)
        return more;
    // Idle means every pending paint has been handled: the picture is complete.
    m_taken = true;
    m_saved = ui::RenderWindowToPng(window->Handle(), m_path.c_str());
    PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
    return more;
}

}  // namespace vellumry::app
