#include "platform/net/private/ActiveTransfers.h"

#include "platform/net/private/CurlLibrary.h"

namespace vellumry::net {

ActiveTransfers& ActiveTransfers::Instance()
{
    static ActiveTransfers instance;
    return instance;
}

void ActiveTransfers::Add(CURLM* multi)
{
    std::lock_guard guard(m_lock);
    m_multis.insert(multi);
}

void ActiveTransfers::Remove(CURLM* multi)
{
    std::lock_guard guard(m_lock);
    m_multis.erase(multi);
}

void ActiveTransfers::WakeAll()
{
    // curl_multi_wakeup is the one multi function documented as callable
    // from another thread; the lock keeps the handle registered meanwhile.
    std::lock_guard guard(m_lock);
    for (CURLM* multi : m_multis)
        Curl().multi_wakeup(multi);
}

}  // namespace vellumry::net
