#pragma once

// Open devices reached through handle values (HWAVEOUT, HMIDISTRM). A handle
// is a number, never a pointer: a stale or made-up handle finds nothing
// instead of touching freed memory. Values are multiples of 4, never 0, and
// are not handed out again. Any thread may call.

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/sound/MmSystem.h"

namespace vellumry::mm {

template <typename Object, typename Handle>
class HandleRegistry {
public:
    Handle Insert(std::shared_ptr<Object> object)
    {
        std::lock_guard lock(m_lock);
        m_next += 4;
        m_objects.emplace(m_next, std::move(object));
        return reinterpret_cast<Handle>(m_next);
    }

    std::shared_ptr<Object> Find(Handle handle) const
    {
        std::lock_guard lock(m_lock);
        auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_objects.end() ? nullptr : found->second;
    }

    // Runs `action` on the handle's object, or answers MMSYSERR_INVALHANDLE.
    template <typename Action>
    MMRESULT With(Handle handle, Action action) const
    {
        std::shared_ptr<Object> object = Find(handle);
        return object ? action(*object) : MMSYSERR_INVALHANDLE;
    }

    std::shared_ptr<Object> Remove(Handle handle)
    {
        std::lock_guard lock(m_lock);
        auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == m_objects.end())
            return nullptr;
        std::shared_ptr<Object> object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

private:
    mutable std::mutex m_lock;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Object>> m_objects;
    std::uintptr_t m_next = 0;
};

}  // namespace vellumry::mm
