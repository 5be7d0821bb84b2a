#pragma once

// The multi handles of the transfers that are running now, so that a stop
// can wake them from their wait. A transfer registers for the time it waits
// and leaves before its handles change hands. Locked; any thread.

#include <curl/curl.h>

#include <mutex>
#include <unordered_set>

namespace vellumry::net {

class ActiveTransfers {
public:
    static ActiveTransfers& Instance();

    void Add(CURLM* multi);
    void Remove(CURLM* multi);
    void WakeAll();

private:
    std::mutex m_lock;
    std::unordered_set<CURLM*> m_multis;
};

// Registers a multi handle for its scope.
class ActiveTransferScope {
public:
    explicit ActiveTransferScope(CURLM* multi) : m_multi(multi) { ActiveTransfers::Instance().Add(multi); }
    ~ActiveTransferScope() { ActiveTransfers::Instance().Remove(m_multi); }
    ActiveTransferScope(const ActiveTransferScope&) = delete;
    ActiveTransferScope& operator=(const ActiveTransferScope&) = delete;

private:
    CURLM* m_multi;
};

}  // namespace vellumry::net
