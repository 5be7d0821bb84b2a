#pragma once

// Kernel objects reached through HANDLE values, and CloseHandle as documented:
// closing drops the handle, the object goes when nobody uses it any more, and
// a value that is no open handle fails with ERROR_INVALID_HANDLE. Handle
// values are multiples of 4 and never 0 or INVALID_HANDLE_VALUE; a closed
// value is not handed out again, so a stale handle is caught rather than
// silently naming a newer object.
//
// Every kind of kernel object (files now, threads and events later) derives
// from KernelObject. The table is locked; any thread may use it.

#include <memory>

#include "platform/base/WinTypes.h"

namespace vellumry::kernel {

class KernelObject {
public:
    virtual ~KernelObject() = default;

    // Called once when the last handle to the object is closed. Returns
    // ERROR_SUCCESS or the last-error code CloseHandle reports.
    virtual DWORD Close() { return ERROR_SUCCESS; }
};

HANDLE InsertHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null when the handle is not open.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle)
{
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

}  // namespace vellumry::kernel

BOOL CloseHandle(HANDLE handle);
