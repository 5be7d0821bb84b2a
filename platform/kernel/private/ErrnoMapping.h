#pragma once

// One place where the kernel stand-ins turn a POSIX errno into the last-error
// code Windows documents for the same failure.

#include <string>

#include "platform/base/WinTypes.h"

namespace vellumry::kernel {

// `fallback` is used for errors without a closer match (I/O errors: the read
// or write fault code of the operation).
DWORD ErrorFromErrno(int error, DWORD fallback);

// The code for a name that does not exist: ERROR_FILE_NOT_FOUND when its
// folder exists, ERROR_PATH_NOT_FOUND when the folder is missing too.
DWORD MissingNameError(const std::string& hostPath);

}  // namespace vellumry::kernel
