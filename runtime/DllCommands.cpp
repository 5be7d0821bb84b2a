#include "runtime/DllCommands.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeState.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::runtime {
namespace {

constexpr const char* kSystemLibraries[] = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll",
};

struct DllCommandTable {
    std::vector<std::string> libraries;
    std::vector<std::string> exports;
    std::unique_ptr<std::atomic<FARPROC>[]> addresses;
    std::unique_ptr<std::atomic<HMODULE>[]> modules;
    std::int32_t count = 0;
    std::string folderPrefix;
};

DllCommandTable g_table;

bool InCache(std::int32_t index)
{
    return index >= 0 && index < g_table.count;
}

// The export argument for GetProcAddress: a name, or an ordinal for "#digits".
LPCSTR ProcNameOf(const std::string& exportName)
{
    if (exportName.empty() || exportName[0] != '#')
        return exportName.c_str();
    unsigned value = 0;
    for (size_t i = 1; i < exportName.size() && exportName[i] >= '0' && exportName[i] <= '9'; ++i)
        value = value * 10 + static_cast<unsigned>(exportName[i] - '0');
    return OrdinalName(static_cast<WORD>(value & 0xFFFF));
}

void StoreAddress(std::int32_t index, FARPROC address)
{
    if (InCache(index))
        g_table.addresses[index].store(address);
}

FARPROC CachedAddress(std::int32_t index)
{
    return InCache(index) ? g_table.addresses[index].load() : nullptr;
}

HMODULE LoadFromSystemLibraries(std::int32_t index, LPCSTR procName)
{
    for (const char* library : kSystemLibraries) {
        HMODULE module = LoadLibraryA(library);
        if (!module)
            continue;
        StoreAddress(index, GetProcAddress(module, procName));
        if (CachedAddress(index))
            return module;
        FreeLibrary(module);
    }
    return nullptr;
}

HMODULE LoadNamedLibrary(const std::string& name)
{
    const RuntimeState& state = Runtime();
    std::vector<std::string> attempts;
    if (name.find(':') == std::string::npos) {
        if (!g_table.folderPrefix.empty())
            attempts.push_back(g_table.folderPrefix + name);
        attempts.push_back(state.programFolder + "\\" + name);
        if (!state.startModuleFolder.empty())
            attempts.push_back(state.startModuleFolder + name);
    }
    attempts.push_back(name);
    for (const std::string& path : attempts)
        if (HMODULE module = LoadLibraryA(path.c_str()))
            return module;
    return nullptr;
}

[[noreturn]] void ReportNotFound(const std::string& library, const std::string& exportName)
{
    std::string message(library.size() + exportName.size() + 128, '\0');
    int length = library.empty()
                     ? std::snprintf(message.data(), message.size(), texts::kDllExportNotFound, exportName.c_str())
                     : std::snprintf(message.data(), message.size(), texts::kDllExportNotFoundInLibrary,
                                     library.c_str(), exportName.c_str());
    message.resize(length > 0 ? static_cast<size_t>(length) : 0);
    ReportError(message.c_str(), 0, 0, 0);
}

}  // namespace

void InstallDllCommands(std::int32_t count, const char* const* libraryNames, const char* const* exportNames)
{
    g_table = DllCommandTable{};
    if (count <= 0)
        return;
    g_table.count = count;
    g_table.addresses = std::make_unique<std::atomic<FARPROC>[]>(static_cast<size_t>(count));
    g_table.modules = std::make_unique<std::atomic<HMODULE>[]>(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        g_table.libraries.emplace_back(libraryNames && libraryNames[i] ? libraryNames[i] : "");
        g_table.exports.emplace_back(exportNames && exportNames[i] ? exportNames[i] : "");
        g_table.addresses[i].store(nullptr);
        g_table.modules[i].store(nullptr);
    }
}

void UnloadDllCommands()
{
    for (std::int32_t i = 0; i < g_table.count; ++i)
        if (HMODULE module = g_table.modules[i].exchange(nullptr))
            FreeLibrary(module);
    std::string prefix = std::move(g_table.folderPrefix);
    g_table = DllCommandTable{};
    g_table.folderPrefix = std::move(prefix);
}

std::int32_t DllCommandCount()
{
    return g_table.count;
}

void SetDllLibraryFolderPrefix(std::string prefix)
{
    g_table.folderPrefix = std::move(prefix);
}

FARPROC ResolveDllCommand(std::int32_t index)
{
    if (FARPROC cached = CachedAddress(index))
        return cached;
    static const std::string kNone;
    const std::string& library = InCache(index) ? g_table.libraries[index] : kNone;
    const std::string& exportName = InCache(index) ? g_table.exports[index] : kNone;
    LPCSTR procName = ProcNameOf(exportName);

    HMODULE module = nullptr;
    if (library.empty()) {
        module = LoadFromSystemLibraries(index, procName);
    } else {
        module = LoadNamedLibrary(library);
        if (module)
            StoreAddress(index, GetProcAddress(module, procName));
    }
    if (FARPROC address = CachedAddress(index)) {
        // A racing thread may have cached its own reference already; keep one.
        HMODULE previous = g_table.modules[index].exchange(module);
        if (previous)
            FreeLibrary(previous);
        return address;
    }
    if (module)
        FreeLibrary(module);
    ReportNotFound(library, exportName);
}

HMODULE DllCommandModule(std::int32_t index)
{
    return InCache(index) ? g_table.modules[index].load() : nullptr;
}

FARPROC CheckedDllCommandAddress(std::int32_t index, modules::ExportSignature declared, std::int32_t related1,
                                 std::int32_t related2)
{
    FARPROC address = ResolveDllCommand(index);
    if (!modules::SignaturesMatch(declared, modules::FindExportSignature(address)))
        ReportErrorCode(6, related1, related2);
    return address;
}

}  // namespace vellumry::runtime
