#include "platform/modules/ModuleRegistry.h"

#include <algorithm>
#include <mutex>

#include "platform/modules/private/ModuleTable.h"

namespace vellumry::modules {

std::string NormalizeModuleName(std::string_view name)
{
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c); });
    if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0)
        key.resize(key.size() - 4);
    return key;
}

void RegisterBuiltinExports(std::string_view moduleName, std::vector<ExportEntry> exports)
{
    auto table = Modules().Lock();
    Module& module = table->BuiltinFor(NormalizeModuleName(moduleName));
    for (ExportEntry& entry : exports) {
        auto same = std::find_if(module.exports.begin(), module.exports.end(),
                                 [&](const ExportEntry& e) { return e.name == entry.name; });
        if (same != module.exports.end()) {
            WORD ordinal = same->ordinal;
            *same = std::move(entry);
            if (same->ordinal == 0)
                same->ordinal = ordinal;
            continue;
        }
        if (entry.ordinal == 0) {
            WORD highest = 0;
            for (const ExportEntry& e : module.exports)
                highest = std::max(highest, e.ordinal);
            entry.ordinal = static_cast<WORD>(highest + 1);
        }
        module.exports.push_back(std::move(entry));
    }
}

void UnregisterBuiltinModule(std::string_view moduleName)
{
    auto table = Modules().Lock();
    table->RemoveBuiltin(NormalizeModuleName(moduleName));
}

HMODULE FindBuiltinModule(std::string_view name)
{
    auto table = Modules().Lock();
    return reinterpret_cast<HMODULE>(table->FindBuiltin(NormalizeModuleName(name)));
}

ExportSignature FindExportSignature(FARPROC address)
{
    auto table = Modules().Lock();
    return table->SignatureOf(address);
}

}  // namespace vellumry::modules
