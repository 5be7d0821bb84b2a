#include "platform/kernel/HandleTable.h"

#include <cstdint>
#include <unordered_map>

#include "platform/base/Guarded.h"
#include "platform/base/LastError.h"

namespace vellumry::kernel {
namespace {

// Handle values start where Windows' do and step by 4. With 2^62 values to
// hand out, the counter does not wrap in the life of a process.
constexpr std::uintptr_t kFirstHandle = 0x100;
constexpr std::uintptr_t kHandleStep = 4;

struct Table {
    std::uintptr_t next = kFirstHandle;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
};

base::Guarded<Table>& TheTable()
{
    static base::Guarded<Table> table;
    return table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object)
{
    auto table = TheTable().Lock();
    std::uintptr_t value = table->next;
    table->next += kHandleStep;
    table->objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle)
{
    auto table = TheTable().Lock();
    auto found = table->objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == table->objects.end() ? nullptr : found->second;
}

}  // namespace vellumry::kernel

BOOL CloseHandle(HANDLE handle)
{
    using namespace vellumry::kernel;
    std::shared_ptr<KernelObject> object;
    {
        auto table = TheTable().Lock();
        auto found = table->objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == table->objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(found->second);
        table->objects.erase(found);
    }
    // Outside the table's lock: closing a file may wait for the file system.
    DWORD error = object->Close();
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}
