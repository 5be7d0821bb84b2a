#pragma once

// What an open wave-out device and an open MIDI stream share: the lock and
// wake-up of the device thread, the thread itself, the closing mark and the
// callback (CALLBACK_FUNCTION, or none). A device class derives from it,
// runs its own loop on the thread and stops the thread in its destructor.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/sound/MmSystem.h"

namespace vellumry::mm {

template <typename CallbackHandle>
class OutputDevice {
public:
    using Callback = void (*)(CallbackHandle, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

    OutputDevice(Callback callback, DWORD_PTR instance) : m_callback(callback), m_instance(instance) {}
    OutputDevice(const OutputDevice&) = delete;
    OutputDevice& operator=(const OutputDevice&) = delete;

    void Notify(UINT message, DWORD_PTR parameter)
    {
        if (m_callback)
            m_callback(m_handle, message, m_instance, parameter, 0);
    }

protected:
    ~OutputDevice() = default;

    // Runs `loop` on the device thread; false when no thread can be made.
    bool StartThread(CallbackHandle handle, std::function<void()> loop)
    {
        m_handle = handle;
        try {
            m_thread = std::thread(std::move(loop));
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // Marks the device closing and waits for its thread to end.
    void StopThread()
    {
        {
            std::lock_guard lock(m_lock);
            m_closing = true;
            m_wakeUp.notify_all();
        }
        if (m_thread.joinable())
            m_thread.join();
    }

    // The checks before a close stops the thread: from the device's own
    // callback MMSYSERR_HANDLEBUSY, after another close MMSYSERR_INVALHANDLE,
    // with buffers queued (`queued` is asked under the lock) `busy`.
    // Otherwise the device is marked closing and MMSYSERR_NOERROR returned.
    MMRESULT BeginClose(const std::function<bool()>& queued, MMRESULT busy)
    {
        if (std::this_thread::get_id() == m_thread.get_id())
            return MMSYSERR_HANDLEBUSY;
        std::lock_guard lock(m_lock);
        if (m_closing)
            return MMSYSERR_INVALHANDLE;
        if (queued())
            return busy;
        m_closing = true;
        return MMSYSERR_NOERROR;
    }

    std::mutex m_lock;
    std::condition_variable m_wakeUp;
    bool m_closing = false;

private:
    const Callback m_callback;
    const DWORD_PTR m_instance;
    CallbackHandle m_handle = nullptr;
    std::thread m_thread;
};

}  // namespace vellumry::mm
