#include "platform/kernel/HandleTable.h"

#include <cstdint>

#include "platform/base/HandleRegistry.h"
#include "platform/base/LastError.h"

namespace vellumry::kernel {
namespace {

// Handle values start where Windows' do and step by 4. With 2^62 values to
// hand out, the counter does not wrap in the life of a process.
constexpr std::uintptr_t kFirstHandle = 0x100;
constexpr std::uintptr_t kHandleStep = 4;

base::HandleRegistry<KernelObject>& TheTable()
{
    static base::HandleRegistry<KernelObject> table(kFirstHandle, kHandleStep);
    return table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object)
{
    return TheTable().Insert(std::move(object));
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle)
{
    return TheTable().Lookup(handle);
}

}  // namespace vellumry::kernel

BOOL CloseHandle(HANDLE handle)
{
    std::shared_ptr<vellumry::kernel::KernelObject> object = vellumry::kernel::TheTable().Remove(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Outside the table's lock: closing a file may wait for the file system.
    DWORD error = object->Close();
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}
