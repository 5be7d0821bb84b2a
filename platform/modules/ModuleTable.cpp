#include "platform/modules/private/ModuleTable.h"

namespace vellumry::modules {

base::Guarded<ModuleTable>& Modules()
{
    static base::Guarded<ModuleTable> table;
    return table;
}

Module* ModuleTable::FindBuiltin(const std::string& key)
{
    auto it = m_builtins.find(key);
    return it == m_builtins.end() ? nullptr : it->second.get();
}

Module& ModuleTable::BuiltinFor(const std::string& key)
{
    auto& slot = m_builtins[key];
    if (!slot) {
        slot = std::make_unique<Module>();
        slot->kind = Module::Kind::Builtin;
        slot->key = key;
        m_alive.insert(slot.get());
    }
    return *slot;
}

void ModuleTable::RemoveBuiltin(const std::string& key)
{
    auto it = m_builtins.find(key);
    if (it == m_builtins.end())
        return;
    m_alive.erase(it->second.get());
    m_retired.push_back(std::move(it->second));
    m_builtins.erase(it);
}

Module* ModuleTable::FindSharedObject(const std::string& hostPath)
{
    auto it = m_sharedObjects.find(hostPath);
    return it == m_sharedObjects.end() ? nullptr : it->second.get();
}

Module& ModuleTable::AddSharedObject(const std::string& hostPath, void* handle)
{
    auto module = std::make_unique<Module>();
    module->kind = Module::Kind::SharedObject;
    module->key = hostPath;
    module->sharedObject = handle;
    Module& result = *module;
    m_alive.insert(module.get());
    m_sharedObjects[hostPath] = std::move(module);
    return result;
}

void ModuleTable::RemoveSharedObject(Module* module)
{
    m_alive.erase(module);
    m_sharedObjects.erase(module->key);
}

Module* ModuleTable::Validate(HMODULE handle)
{
    auto* module = reinterpret_cast<Module*>(handle);
    return m_alive.count(module) ? module : nullptr;
}

ExportSignature ModuleTable::SignatureOf(FARPROC address)
{
    for (const auto& [key, module] : m_builtins)
        for (const ExportEntry& e : module->exports)
            if (e.address == address)
                return e.signature;
    return nullptr;
}

}  // namespace vellumry::modules
