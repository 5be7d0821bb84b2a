#include "platform/shell/ItemIdList.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>

#include "platform/base/Guarded.h"

namespace vellumry::shell {
namespace {

base::Guarded<std::set<const void*>>& LiveLists()
{
    static base::Guarded<std::set<const void*>> lists;
    return lists;
}

constexpr size_t kSizeField = sizeof(USHORT);

}  // namespace

PIDLIST_ABSOLUTE MakeFolderIdList(std::string_view runtimePath)
{
    // One item (size field, path, zero byte) and the zero size that ends the list.
    const size_t itemSize = kSizeField + runtimePath.size() + 1;
    if (itemSize > std::numeric_limits<USHORT>::max())
        return nullptr;
    auto* bytes = static_cast<BYTE*>(std::calloc(1, itemSize + kSizeField));
    if (!bytes)
        return nullptr;
    const auto size = static_cast<USHORT>(itemSize);
    std::memcpy(bytes, &size, kSizeField);
    std::memcpy(bytes + kSizeField, runtimePath.data(), runtimePath.size());
    LiveLists().Lock()->insert(bytes);
    return reinterpret_cast<PIDLIST_ABSOLUTE>(bytes);
}

std::optional<std::string> FolderOfIdList(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        return std::nullopt;
    // Read under the lock, so that an ILFree on another thread waits.
    auto lists = LiveLists().Lock();
    if (!lists->count(list))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const BYTE*>(list);
    USHORT size = 0;
    std::memcpy(&size, bytes, kSizeField);
    return std::string(reinterpret_cast<const char*>(bytes + kSizeField), size - kSizeField - 1);
}

std::size_t LiveIdListCount()
{
    return LiveLists().Lock()->size();
}

}  // namespace vellumry::shell

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path)
{
    if (!path)
        return FALSE;
    std::optional<std::string> folder = vellumry::shell::FolderOfIdList(list);
    if (!folder || folder->size() >= MAX_PATH)
        return FALSE;
    std::memcpy(path, folder->c_str(), folder->size() + 1);
    return TRUE;
}

void ILFree(PIDLIST_ABSOLUTE list)
{
    if (!list || vellumry::shell::LiveLists().Lock()->erase(list) == 0)
        return;
    std::free(list);
}
