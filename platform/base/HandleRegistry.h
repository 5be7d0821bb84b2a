#pragma once

// A table of objects reached through opaque handle values, as the Windows
// handle-based functions hand them out: values start at `first`, step by
// `step`, are never 0 and are never handed out twice, so a stale handle is
// caught rather than silently naming a newer object. Removing a handle hands
// the object back; it lives on while anyone still holds it. Locked; any
// thread.

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace vellumry::base {

template <typename Object>
class HandleRegistry {
public:
    HandleRegistry(std::uintptr_t first, std::uintptr_t step) : m_next(first), m_step(step) {}

    void* Insert(std::shared_ptr<Object> object)
    {
        std::lock_guard guard(m_lock);
        std::uintptr_t value = m_next;
        m_next += m_step;
        m_objects.emplace(value, std::move(object));
        return reinterpret_cast<void*>(value);
    }

    // The object behind a handle, or null when the handle is not open.
    std::shared_ptr<Object> Lookup(const void* handle) const
    {
        std::lock_guard guard(m_lock);
        auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_objects.end() ? nullptr : found->second;
    }

    // Closes the handle and hands its object back; null when it was not open.
    std::shared_ptr<Object> Remove(const void* handle)
    {
        std::lock_guard guard(m_lock);
        auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == m_objects.end())
            return nullptr;
        std::shared_ptr<Object> object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

private:
    mutable std::mutex m_lock;
    std::uintptr_t m_next;
    const std::uintptr_t m_step;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Object>> m_objects;
};

}  // namespace vellumry::base
