#pragma once

// Installs a DLL command table holding the WinINet commands the request
// routines call, resolved through the built-in "wininet" module, and tells
// the routines their indices. A test may register its own "wininet" exports
// first (RecordingWinInet.h) to watch or steer the calls.

namespace vellumry::test {

void InstallWinInetCommandTable();
void RemoveWinInetCommandTable();

}  // namespace vellumry::test
