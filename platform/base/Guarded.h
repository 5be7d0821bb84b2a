#pragma once

// State shared between threads, kept together with the lock that guards it.
// The state is reachable only through a view that holds the lock, so code
// cannot touch it unlocked by mistake:
//
//     Guarded<std::map<int, Entry>> g_entries;
//     g_entries.Lock()->emplace(key, entry);           // one statement
//     auto entries = g_entries.Lock();                  // several, one hold
//     if (auto it = entries->find(key); it != entries->end()) ...
//     g_entries.With([&](auto& map) { return map.size(); });
//
// A view is a lock: keep it short, and never call out of the module (into a
// window, a file system wait, a callback) while holding one.

#include <mutex>
#include <utility>

namespace vellumry::base {

template <typename T, typename Mutex = std::mutex>
class Guarded {
public:
    template <typename... Args>
    explicit Guarded(Args&&... args) : m_value(std::forward<Args>(args)...)
    {
    }
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    // The state with the lock held for the view's lifetime.
    class Locked {
    public:
        T* operator->() const { return m_value; }
        T& operator*() const { return *m_value; }
        // Lets a condition variable wait on the held lock.
        std::unique_lock<Mutex>& Lock() { return m_lock; }

    private:
        friend class Guarded;
        Locked(Mutex& mutex, T& value) : m_lock(mutex), m_value(&value) {}
        std::unique_lock<Mutex> m_lock;
        T* m_value;
    };

    Locked Lock() { return Locked(m_mutex, m_value); }

    // Runs `work` with the state under the lock and returns what it returns.
    template <typename Work>
    decltype(auto) With(Work&& work)
    {
        std::lock_guard guard(m_mutex);
        return std::forward<Work>(work)(m_value);
    }

private:
    Mutex m_mutex;
    T m_value;
};

}  // namespace vellumry::base
