#include "platform/kernel/private/ShareRegistry.h"

#include <algorithm>

#include "platform/kernel/FileApi.h"

namespace vellumry::kernel {
namespace {

bool Conflicts(DWORD access, DWORD otherShare)
{
    return ((access & GENERIC_READ) && !(otherShare & FILE_SHARE_READ)) ||
           ((access & GENERIC_WRITE) && !(otherShare & FILE_SHARE_WRITE));
}

}  // namespace

base::Guarded<ShareRegistry>& OpenFiles()
{
    static base::Guarded<ShareRegistry> registry;
    return registry;
}

bool ShareRegistry::Allows(const FileIdentity& file, DWORD access, DWORD share) const
{
    return std::none_of(m_opens.begin(), m_opens.end(), [&](const Open& open) {
        return open.file == file && (Conflicts(access, open.share) || Conflicts(open.access, share));
    });
}

bool ShareRegistry::AllowsDelete(const FileIdentity& file) const
{
    return std::none_of(m_opens.begin(), m_opens.end(), [&](const Open& open) {
        return open.file == file && !(open.share & FILE_SHARE_DELETE);
    });
}

std::uint64_t ShareRegistry::Add(const FileIdentity& file, DWORD access, DWORD share)
{
    std::uint64_t ticket = m_nextTicket++;
    m_opens.push_back({file, access, share, ticket});
    return ticket;
}

void ShareRegistry::Remove(std::uint64_t ticket)
{
    std::erase_if(m_opens, [&](const Open& open) { return open.ticket == ticket; });
}

}  // namespace vellumry::kernel
