#pragma once

// The runtime application object's state that the runtime core keeps: values
// copied from the program header, the program's paths, the main thread and
// the lifecycle flags. Filled by runtime initialisation on the main thread and
// read from any thread afterwards.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "runtime/ProgramHeader.h"

namespace vellumry::runtime {

struct RuntimeState {
    std::int32_t runMode = 0;
    std::int32_t reservedWord = 0;
    std::int32_t buildNumberPlusOne = 0;

    // Runtime paths: GBK with "\" separators.
    std::string programFolder;      // without a trailing "\"
    std::string programFileName;
    std::string startModuleFolder;  // with a trailing "\"

    std::thread::id mainThread;
    bool oleInitializedByRuntime = false;
    std::atomic<bool> messageLoopEntered{false};
    std::atomic<bool> shutdownInProgress{false};

    const ProgramHeader* header = nullptr;
    // Per support library, the value handed back to it at shutdown.
    std::vector<std::intptr_t> libraryValues;
};

RuntimeState& Runtime();

// The program file's full path as a runtime text, split at its last "\":
// the folder (empty when there is no "\") and the file name.
struct ProgramPath {
    std::string folder;
    std::string fileName;
    bool hasSeparator = false;
};
ProgramPath SplitProgramPath();

// True on the main thread, and on any thread before the runtime has recorded
// its main thread.
bool OnMainThread();

}  // namespace vellumry::runtime
