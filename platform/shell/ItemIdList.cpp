#include "platform/shell/ItemIdList.h"

#include <cstring>
#include <limits>
#include <map>
#include <memory>

#include "platform/base/Guarded.h"

namespace vellumry::shell {
namespace {

// Every list handed out, owned here until ILFree. A caller that never frees
// its list (the folder button's routine has no command for it) leaves it to
// the end of the process, which frees what is left.
using ListBytes = std::unique_ptr<BYTE[]>;

base::Guarded<std::map<const void*, ListBytes>>& LiveLists()
{
    static base::Guarded<std::map<const void*, ListBytes>> lists;
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
    ListBytes bytes = std::make_unique<BYTE[]>(itemSize + kSizeField);  // zeroed
    const auto size = static_cast<USHORT>(itemSize);
    std::memcpy(bytes.get(), &size, kSizeField);
    std::memcpy(bytes.get() + kSizeField, runtimePath.data(), runtimePath.size());
    auto* list = reinterpret_cast<PIDLIST_ABSOLUTE>(bytes.get());
    LiveLists().Lock()->emplace(list, std::move(bytes));
    return list;
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
    if (list)
        vellumry::shell::LiveLists().Lock()->erase(list);  // frees it when it is ours
}
