#include "app/ApplicationGlobals.h"

#include "runtime/RuntimeInterface.h"

namespace vellumry::app {

ApplicationGlobals& Globals()
{
    static ApplicationGlobals globals;
    return globals;
}

void ReleaseGlobals(std::int32_t)
{
    ApplicationGlobals& globals = Globals();
    const runtime::RuntimeInterface& api = runtime::GetRuntimeInterface();
    api.runtimeFree(globals.chosenFolder);
    api.runtimeFree(globals.browseInitialFolder);
    globals.chosenFolder = nullptr;
    globals.browseInitialFolder = nullptr;
}

}  // namespace vellumry::app
