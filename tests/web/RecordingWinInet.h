#pragma once

// A "wininet" module for tests that logs every call the routines make, with
// its arguments, and passes it on to the real stand-in; it can also make the
// first three calls fail. Handles appear in the log by what they are
// ("session", "connection", "request"; "0" for a null handle).

#include <string>
#include <vector>

namespace vellumry::test {

struct WinInetFailures {
    bool open = false;
    bool connect = false;
    bool openRequest = false;
};

// Registers the recording exports in place of the real ones and clears the
// log. RestoreWinInet puts the real exports back.
void RecordWinInet(WinInetFailures failures = {});
void RestoreWinInet();

std::vector<std::string> WinInetLog();

}  // namespace vellumry::test
