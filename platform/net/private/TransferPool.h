#pragma once

// Finished transfer handles waiting, with the connections their multi handle
// keeps open, for the next transfer to the same origin. A handle is used by
// one transfer at a time; the pool hands it over under its lock. Only a few
// handles wait; the oldest is closed when more arrive.

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/net/private/CurlHandles.h"

namespace vellumry::net {

struct TransferSlot {
    CurlEasy easy;
    CurlMulti multi;
};

class TransferPool {
public:
    static TransferPool& Instance();

    // A waiting slot for `key`, else a new one; null when libcurl cannot make
    // one.
    std::unique_ptr<TransferSlot> Acquire(const std::string& key);
    void Release(const std::string& key, std::unique_ptr<TransferSlot> slot);
    void Clear();

private:
    static constexpr std::size_t kMaxIdle = 8;

    std::mutex m_lock;
    std::list<std::pair<std::string, std::unique_ptr<TransferSlot>>> m_idle;  // newest first
};

}  // namespace vellumry::net
