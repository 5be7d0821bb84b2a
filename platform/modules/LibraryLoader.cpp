#include "platform/modules/LibraryLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"
#include "platform/modules/private/ModuleTable.h"

namespace {

using vellumry::modules::Module;
using vellumry::modules::Modules;

bool HasPath(std::string_view name)
{
    return name.find_first_of("\\/:") != std::string_view::npos;
}

// The documented rule: no extension gets ".dll"; a trailing "." means
// "no extension, do not append" and is itself dropped.
std::string WithDefaultExtension(std::string hostPath)
{
    size_t slash = hostPath.rfind('/');
    size_t dot = hostPath.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        if (dot == hostPath.size() - 1)
            hostPath.pop_back();
        return hostPath;
    }
    return hostPath + ".dll";
}

std::vector<std::string> CandidateFiles(std::string_view name)
{
    std::string host = vellumry::kernel::ToHostPath(name);
    if (HasPath(name))
        return {WithDefaultExtension(host)};
    std::vector<std::string> candidates;
    const std::string& program = vellumry::kernel::HostProgramPath();
    size_t slash = program.rfind('/');
    if (slash != std::string::npos)
        candidates.push_back(WithDefaultExtension(program.substr(0, slash + 1) + host));
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd))
        candidates.push_back(WithDefaultExtension(std::string(cwd) + "/" + host));
    return candidates;
}

HMODULE AsHandle(Module* module)
{
    return reinterpret_cast<HMODULE>(module);
}

HMODULE LoadSharedObject(const std::string& candidate)
{
    char resolved[PATH_MAX];
    if (!realpath(candidate.c_str(), resolved)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::string path(resolved);
    {
        auto table = Modules().Lock();
        if (Module* loaded = table->FindSharedObject(path)) {
            ++loaded->references;
            return AsHandle(loaded);
        }
    }
    // dlopen runs the object's constructors, which must not find our lock held.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    auto table = Modules().Lock();
    Module* module = table->FindSharedObject(path);
    if (module) {
        dlclose(handle);  // another thread won the race; dlopen counted for us too
    } else {
        module = &table->AddSharedObject(path, handle);
    }
    ++module->references;
    return AsHandle(module);
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string_view name(fileName);
    if (!HasPath(name)) {
        auto table = Modules().Lock();
        if (Module* builtin = table->FindBuiltin(vellumry::modules::NormalizeModuleName(name))) {
            ++builtin->references;
            return AsHandle(builtin);
        }
    }
    for (const std::string& candidate : CandidateFiles(name)) {
        if (vellumry::kernel::HostFileExists(candidate))
            return LoadSharedObject(candidate);
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR procName)
{
    auto table = Modules().Lock();
    Module* module = table->Validate(handle);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto value = reinterpret_cast<std::uintptr_t>(procName);
    bool byOrdinal = value <= 0xFFFF;
    if (module->kind == Module::Kind::Builtin) {
        for (const auto& entry : module->exports) {
            if (byOrdinal ? entry.ordinal == value : entry.name == procName)
                return entry.address;
        }
    } else if (!byOrdinal) {
        if (void* symbol = dlsym(module->sharedObject, procName))
            return reinterpret_cast<FARPROC>(symbol);
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE handle)
{
    void* unload = nullptr;
    {
        auto table = Modules().Lock();
        Module* module = table->Validate(handle);
        if (!module) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (module->references > 0)
            --module->references;
        if (module->kind == Module::Kind::SharedObject && module->references == 0) {
            unload = module->sharedObject;
            table->RemoveSharedObject(module);
        }
    }
    if (unload)
        dlclose(unload);
    return TRUE;
}
