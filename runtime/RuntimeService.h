#pragma once

// The numbered runtime services (runtime interface entry 12):
//   0  file search step: (pattern, attribute mask, files-only flag, HANDLE*)
//      -> the next matching name as a new text, or null at the end
//   1  close a search handle: (HANDLE)
//   2  MakeArrayWritable: (void** array, element size)
//   3  register an exit routine: (ExitRoutine)
//   4  read a property of a unit object held outside any form
//   5  write a property of such a unit object
//   6  initialise the runtime and load the window template
// Services 4 and 5 reach the form engine through its hooks (HostLayers.h).

#include <cstdint>

#include "platform/base/WinTypes.h"
#include "runtime/Values.h"

namespace vellumry::runtime {

enum RuntimeServiceNumber : std::int32_t {
    kServiceFileSearchStep = 0,
    kServiceCloseSearch = 1,
    kServiceMakeArrayWritable = 2,
    kServiceRegisterExitRoutine = 3,
    kServiceReadObjectProperty = 4,
    kServiceWriteObjectProperty = 5,
    kServiceInitialize = 6,
};

// Variadic entry with the arguments listed above.
std::intptr_t RuntimeService(std::int32_t number, ...);

// Typed forms of services 0 and 1.
TextValue FileSearchStep(const char* pattern, std::int32_t attributeMask, bool filesOnly, HANDLE* search);
void CloseFileSearch(HANDLE search);

}  // namespace vellumry::runtime
