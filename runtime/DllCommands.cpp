#include "runtime/DllCommands.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/kernel/ThreadStop.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "platform/modules/ScopedModule.h"
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
};

DllCommandTable g_table;
// A setting of the runtime, kept across installs of the table.
std::string g_folderPrefix;

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

FARPROC CachedAddress(std::int32_t index)
{
    return InCache(index) ? g_table.addresses[index].load() : nullptr;
}

// An export found by this thread, with the module reference that holds it.
struct Found {
    modules::ScopedModule module;
    FARPROC address = nullptr;
};

Found FindInModule(modules::ScopedModule module, LPCSTR procName)
{
    Found found;
    if (module) {
        found.address = GetProcAddress(module.get(), procName);
        if (found.address)
            found.module = std::move(module);
    }
    return found;
}

Found FindInSystemLibraries(LPCSTR procName)
{
    for (const char* library : kSystemLibraries)
        if (Found found = FindInModule(modules::ScopedModule(LoadLibraryA(library)), procName); found.address)
            return found;
    return {};
}

HMODULE LoadNamedLibrary(const std::string& name)
{
    const RuntimeState& state = Runtime();
    std::vector<std::string> attempts;
    if (name.find(':') == std::string::npos) {
        if (!g_folderPrefix.empty())
            attempts.push_back(g_folderPrefix + name);
        // An empty program folder is no folder: "\" + name would be the root.
        if (!state.programFolder.empty())
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

// Puts an address found by this thread into the cache, unless another
// thread has put one there first; the address in the cache is the answer.
// Only found addresses are stored, so a thread that found nothing in one
// library never hides what another thread found in the next.
FARPROC Publish(std::int32_t index, Found found)
{
    FARPROC expected = nullptr;
    if (!g_table.addresses[index].compare_exchange_strong(expected, found.address))
        return expected;  // the other thread's; our module reference goes with `found`
    g_table.modules[index].store(found.module.release());
    return found.address;
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
    // A table installed before gives its modules back first.
    UnloadDllCommands();
    if (count <= 0)
        return;
    DllCommandTable table;
    table.count = count;
    table.addresses = std::make_unique<std::atomic<FARPROC>[]>(static_cast<size_t>(count));
    table.modules = std::make_unique<std::atomic<HMODULE>[]>(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        table.libraries.emplace_back(libraryNames && libraryNames[i] ? libraryNames[i] : "");
        table.exports.emplace_back(exportNames && exportNames[i] ? exportNames[i] : "");
        table.addresses[i].store(nullptr);
        table.modules[i].store(nullptr);
    }
    g_table = std::move(table);
}

void UnloadDllCommands()
{
    for (std::int32_t i = 0; i < g_table.count; ++i) {
        modules::ScopedModule cached(g_table.modules[i].exchange(nullptr));  // freed here
    }
    g_table = DllCommandTable{};
}

std::int32_t DllCommandCount()
{
    return g_table.count;
}

void SetDllLibraryFolderPrefix(std::string prefix)
{
    g_folderPrefix = std::move(prefix);
}

FARPROC ResolveDllCommand(std::int32_t index)
{
    if (FARPROC cached = CachedAddress(index))
        return cached;
    static const std::string kNone;
    const std::string& library = InCache(index) ? g_table.libraries[index] : kNone;
    const std::string& exportName = InCache(index) ? g_table.exports[index] : kNone;
    LPCSTR procName = ProcNameOf(exportName);

    Found found = library.empty() ? FindInSystemLibraries(procName)
                                  : FindInModule(modules::ScopedModule(LoadNamedLibrary(library)), procName);
    if (found.address && InCache(index))
        return Publish(index, std::move(found));
    ReportNotFound(library, exportName);
}

HMODULE DllCommandModule(std::int32_t index)
{
    return InCache(index) ? g_table.modules[index].load() : nullptr;
}

FARPROC CheckedDllCommandAddress(std::int32_t index, modules::ExportSignature declared, std::int32_t related1,
                                 std::int32_t related2)
{
    kernel::ThrowIfStopRequested();  // a stopped worker goes no further
    FARPROC address = ResolveDllCommand(index);
    if (!modules::SignaturesMatch(declared, modules::FindExportSignature(address)))
        ReportErrorCode(6, related1, related2);
    return address;
}

}  // namespace vellumry::runtime
