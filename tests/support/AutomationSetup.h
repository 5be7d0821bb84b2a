#pragma once

// Wires what the automation commands and the regular-expression object need
// in a test, fuzz target or benchmark, as the program's start-up does: the
// core commands, the automation commands, the component-model exports, the
// "VBScript.RegExp" component, and a DLL command table whose entries 1 and 2
// are "ole32.dll" CoInitialize and CoUninitialize. Idempotent.

namespace vellumry::test {

void InstallAutomationForTests();

}  // namespace vellumry::test
