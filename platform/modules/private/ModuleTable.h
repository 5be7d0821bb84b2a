#pragma once

// The process's module table, shared by the registry of built-in modules and
// the loader. An HMODULE is the address of a Module record; the table knows
// which records are alive, so stale or forged handles are recognised. The
// table is reached only through Modules(), which holds its lock.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Guarded.h"
#include "platform/modules/ModuleRegistry.h"

namespace vellumry::modules {

struct Module {
    enum class Kind { Builtin, SharedObject };
    Kind kind = Kind::Builtin;
    std::string key;  // normalized name (built-in) or host path (shared object)
    std::vector<ExportEntry> exports;
    void* sharedObject = nullptr;
    int references = 0;
};

class ModuleTable {
public:
    Module* FindBuiltin(const std::string& key);
    Module& BuiltinFor(const std::string& key);
    void RemoveBuiltin(const std::string& key);
    Module* FindSharedObject(const std::string& hostPath);
    Module& AddSharedObject(const std::string& hostPath, void* handle);
    void RemoveSharedObject(Module* module);
    Module* Validate(HMODULE handle);
    ExportSignature SignatureOf(FARPROC address);

private:
    std::map<std::string, std::unique_ptr<Module>> m_builtins;
    std::map<std::string, std::unique_ptr<Module>> m_sharedObjects;
    std::set<const Module*> m_alive;
    // Built-in modules removed while still referenced stay allocated, so a
    // handle that outlives its registration is recognised as invalid rather
    // than dangling.
    std::vector<std::unique_ptr<Module>> m_retired;
};

// The process's one module table, behind its lock.
base::Guarded<ModuleTable>& Modules();

}  // namespace vellumry::modules
