#include "platform/net/private/TransferPool.h"

namespace vellumry::net {

TransferPool& TransferPool::Instance()
{
    static TransferPool pool;
    return pool;
}

std::unique_ptr<TransferSlot> TransferPool::Acquire(const std::string& key)
{
    {
        std::lock_guard guard(m_lock);
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it) {
            if (it->first == key) {
                std::unique_ptr<TransferSlot> slot = std::move(it->second);
                m_idle.erase(it);
                return slot;
            }
        }
    }
    auto slot = std::make_unique<TransferSlot>();
    slot->easy.reset(Curl().easy_init());
    slot->multi.reset(Curl().multi_init());
    if (!slot->easy || !slot->multi)
        return nullptr;
    return slot;
}

void TransferPool::Release(const std::string& key, std::unique_ptr<TransferSlot> slot)
{
    std::unique_ptr<TransferSlot> dropped;
    {
        std::lock_guard guard(m_lock);
        m_idle.emplace_front(key, std::move(slot));
        if (m_idle.size() > kMaxIdle) {
            dropped = std::move(m_idle.back().second);
            m_idle.pop_back();
        }
    }
    // Closing connections may wait on the network: outside the lock.
}

void TransferPool::Clear()
{
    std::list<std::pair<std::string, std::unique_ptr<TransferSlot>>> dropped;
    {
        std::lock_guard guard(m_lock);
        dropped.swap(m_idle);
    }
}

}  // namespace vellumry::net
