#include "tests/support/AutomationSetup.h"

#include "automation/AutomationCommands.h"
#include "platform/vbscript/RegExpComponent.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/DllCommands.h"

namespace vellumry::test {

void InstallAutomationForTests()
{
    static const char* const kLibraries[] = {"", "ole32.dll", "ole32.dll"};
    static const char* const kExports[] = {"CreateThread", "CoInitialize", "CoUninitialize"};
    runtime::InstallRuntimeCoreCommands();
    automation::InstallAutomation();
    vbscript::RegisterRegExpComponent();
    if (runtime::DllCommandCount() < 3)
        runtime::InstallDllCommands(3, kLibraries, kExports);
}

}  // namespace vellumry::test
