#include "platform/kernel/KernelExports.h"

#include "platform/base/LastError.h"
#include "platform/codepage/WideCharApi.h"
#include "platform/debug/Debugger.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/FileSearch.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/Locale.h"
#include "platform/kernel/ModuleFileName.h"
#include "platform/kernel/ProfileApi.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"

namespace vellumry::kernel {

void RegisterKernelExports()
{
    using modules::Export;
    modules::RegisterBuiltinExports("kernel32", {
                                                    Export("GetLastError", &GetLastError),
                                                    Export("SetLastError", &SetLastError),
                                                    Export("CloseHandle", &CloseHandle),
                                                    Export("CreateFileA", &CreateFileA),
                                                    Export("ReadFile", &ReadFile),
                                                    Export("WriteFile", &WriteFile),
                                                    Export("GetFileSize", &GetFileSize),
                                                    Export("DeleteFileA", &DeleteFileA),
                                                    Export("MoveFileExA", &MoveFileExA),
                                                    Export("FindFirstFileA", &FindFirstFileA),
                                                    Export("FindNextFileA", &FindNextFileA),
                                                    Export("FindClose", &FindClose),
                                                    Export("GetModuleFileNameA", &GetModuleFileNameA),
                                                    Export("GetPrivateProfileStringA", &GetPrivateProfileStringA),
                                                    Export("WritePrivateProfileStringA", &WritePrivateProfileStringA),
                                                    Export("LoadLibraryA", &LoadLibraryA),
                                                    Export("GetProcAddress", &GetProcAddress),
                                                    Export("FreeLibrary", &FreeLibrary),
                                                    Export("MultiByteToWideChar", &MultiByteToWideChar),
                                                    Export("WideCharToMultiByte", &WideCharToMultiByte),
                                                    Export("DebugBreak", &DebugBreak),
                                                    Export("GetUserDefaultLCID", &GetUserDefaultLCID),
                                                    Export("GetSystemDefaultLCID", &GetSystemDefaultLCID),
                                                    Export("CreateThread", &CreateThread),
                                                    Export("GetExitCodeThread", &GetExitCodeThread),
                                                    Export("TerminateThread", &TerminateThread),
                                                });
}

}  // namespace vellumry::kernel
