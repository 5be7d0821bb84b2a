#pragma once

// The waitable signals of the players.
//
// FeederSignals: a counting semaphore with a maximum (a release at the
// maximum fails and changes nothing) and a manual-reset stop event, waited
// for together as a feeder thread does: a set stop event wins over a
// signalled semaphore.
//
// DoneSignal: a manual-reset event.
//
// Any thread may call.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vellumry::sound {

class FeederSignals {
public:
    enum class Woken { Stop, Semaphore, Timeout };

    FeederSignals(int initial, int maximum) : m_count(initial), m_maximum(maximum) {}

    bool Release()
    {
        std::lock_guard lock(m_lock);
        if (m_count >= m_maximum)
            return false;
        ++m_count;
        m_changed.notify_all();
        return true;
    }

    void SetStop()
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
        m_changed.notify_all();
    }

    // Takes one count of the semaphore when it wakes for it.
    Woken Wait(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_lock);
        if (!m_changed.wait_for(lock, limit, [this] { return m_stop || m_count > 0; }))
            return Woken::Timeout;
        if (m_stop)
            return Woken::Stop;
        --m_count;
        return Woken::Semaphore;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count;
    const int m_maximum;
    bool m_stop = false;
};

class DoneSignal {
public:
    void Set()
    {
        std::lock_guard lock(m_lock);
        m_set = true;
        m_changed.notify_all();
    }

    void Reset()
    {
        std::lock_guard lock(m_lock);
        m_set = false;
    }

    bool WaitFor(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, limit, [this] { return m_set; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_set = false;
};

}  // namespace vellumry::sound
