#include "web/ComInit.h"

#include "platform/com/ComTypes.h"
#include "platform/kernel/ThreadStop.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::web {

void ComInit()
{
    (void)runtime::CallDllCommand<HRESULT(LPVOID)>(kCoInitializeCommand, kCoInitializeCommand, 0, nullptr);
}

void ComUninit()
{
    runtime::CallDllCommand<void()>(kCoUninitializeCommand, kCoUninitializeCommand, 0);
}

void ComUninitInDestructor() noexcept
{
    kernel::StopPointsDeferred deferred;
    ComUninit();
}

}  // namespace vellumry::web
