#include "forms/engine/ObjectHandles.h"

#include <unordered_map>

namespace vellumry::forms {
namespace {

struct HandleTable {
    std::uint32_t next = 0;
    std::unordered_map<std::uint32_t, void*> objects;
};

HandleTable& Table()
{
    static HandleTable table;
    return table;
}

}  // namespace

std::uint32_t RegisterObject(void* object)
{
    if (!object)
        return 0;
    HandleTable& table = Table();
    std::uint32_t handle = ++table.next;
    if (handle == 0)  // wrapped after four billion objects: skip the null handle
        handle = ++table.next;
    table.objects[handle] = object;
    return handle;
}

void* LookupObject(std::uint32_t handle)
{
    HandleTable& table = Table();
    auto it = table.objects.find(handle);
    return it == table.objects.end() ? nullptr : it->second;
}

void ReleaseObject(std::uint32_t handle)
{
    Table().objects.erase(handle);
}

}  // namespace vellumry::forms
