#include "platform/kernel/ModuleFileName.h"

#include <cstring>
#include <string>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    if (module != nullptr) {
        // Built-in modules have no file of their own.
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::string path = vellumry::kernel::ToRuntimePath(vellumry::kernel::HostProgramPath());
    if (size == 0 || fileName == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() + 1 > size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}
