#pragma once

// Installs a DLL command table holding, at the indexes the program's table
// gives them, the commands the request routines call: CoInitialize and
// CoUninitialize of "ole32.dll" (1 and 2) and the WinINet commands (12 to
// 19), resolved through the built-in modules. A test may register its own
// "wininet" exports first (RecordingWinInet.h) to watch or steer the calls.

namespace vellumry::test {

void InstallWinInetCommandTable();
void RemoveWinInetCommandTable();

}  // namespace vellumry::test
