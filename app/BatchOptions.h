#pragma once

// The command line of the batch mode, which drives the real window without
// a person:
//   vellumry --batch --address URL --from N --to M --folder DIR
//            [--picture-host URL] [--timeout SECONDS] [--screenshot FILE]
//   vellumry --batch --help
// Each option takes its value as the next argument or after "=". The values
// are kept as typed (UTF-8): the batch run types them into the boxes as a
// person would. Plain C++; any thread.

#include <string>
#include <string_view>
#include <vector>

namespace vellumry::app {

struct BatchOptions {
    std::string address;      // the gallery page address
    std::string fromPage;     // start page, as typed
    std::string toPage;       // end page, as typed
    std::string folder;       // the save folder, a host path
    std::string pictureHost;  // empty: the settings file's or the default
    int timeoutSeconds = 0;   // 0: no limit
    std::string screenshot;   // empty: none; else a PNG of the window at the end
};

struct BatchCommand {
    enum class Kind { Run, Help, Error };
    Kind kind = Kind::Error;
    BatchOptions options;  // for Run
    std::string error;     // for Error: what is wrong, in one line
};

// The usage text --help prints and a bad command line ends with.
extern const char* const kBatchUsage;

// True when the arguments ask for the batch mode ("--batch" among them).
bool WantsBatch(const std::vector<std::string_view>& arguments);

// Reads the arguments after the program name.
BatchCommand ParseBatchCommand(const std::vector<std::string_view>& arguments);

}  // namespace vellumry::app
