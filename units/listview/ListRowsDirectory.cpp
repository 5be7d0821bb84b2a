#include "units/listview/ListRowsDirectory.h"

#include <map>
#include <mutex>
#include <utility>

namespace vellumry::units {
namespace {

using Key = std::pair<forms::FormId, forms::UnitId>;

struct Directory {
    std::mutex lock;
    std::map<Key, std::shared_ptr<SharedListRows>> entries;
};

Directory& TheDirectory()
{
    static Directory directory;
    return directory;
}

}  // namespace

void RegisterListRows(forms::FormId formId, forms::UnitId unitId, std::shared_ptr<SharedListRows> rows)
{
    Directory& directory = TheDirectory();
    std::lock_guard guard(directory.lock);
    directory.entries[{formId, unitId}] = std::move(rows);
}

void UnregisterListRows(forms::FormId formId, forms::UnitId unitId, const SharedListRows* rows)
{
    Directory& directory = TheDirectory();
    std::lock_guard guard(directory.lock);
    auto entry = directory.entries.find({formId, unitId});
    if (entry != directory.entries.end() && entry->second.get() == rows)
        directory.entries.erase(entry);
}

std::shared_ptr<SharedListRows> FindListRows(forms::FormId formId, forms::UnitId unitId)
{
    Directory& directory = TheDirectory();
    std::lock_guard guard(directory.lock);
    auto entry = directory.entries.find({formId, unitId});
    return entry == directory.entries.end() ? nullptr : entry->second;
}

}  // namespace vellumry::units
