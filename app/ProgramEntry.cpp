#include "app/ProgramEntry.h"

#include <cfenv>

#include "app/ApplicationGlobals.h"
#include "app/description/ProgramDescription.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeService.h"

namespace vellumry::app {
namespace {

// The application's initialisation and start-up routines have nothing to do:
// the work starts in the main window's event 0 handler.
void Initialise() {}
void StartUp() {}

}  // namespace

int ProgramEntry()
{
    const runtime::RuntimeInterface& api = runtime::GetRuntimeInterface();
    api.runtimeService(runtime::kServiceInitialize);
    std::fesetenv(FE_DFL_ENV);  // the processor's default floating-point state
    Initialise();
    api.runtimeService(runtime::kServiceRegisterExitRoutine, &ReleaseGlobals);
    StartUp();
    api.loadStartForm(kStartFormId);
    api.runMessageLoop();
    return 0;
}

}  // namespace vellumry::app
