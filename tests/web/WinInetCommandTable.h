#pragma once

// Installs a DLL command table whose entries 12 to 19 are the WinINet
// commands InetRequest calls, at the indexes the program's table gives them,
// resolved through the built-in "wininet" module. A test may register its own
// "wininet" exports first (RecordingWinInet.h) to watch or steer the calls.

namespace vellumry::test {

void InstallWinInetCommandTable();
void RemoveWinInetCommandTable();

}  // namespace vellumry::test
