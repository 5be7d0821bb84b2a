#pragma once

// Owns a kernel HANDLE and closes it with CloseHandle. An invalid value
// (null or INVALID_HANDLE_VALUE) owns nothing.

#include "platform/base/WinTypes.h"
#include "platform/kernel/HandleTable.h"

namespace vellumry::kernel {

class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = other.Release();
        }
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return IsValid(); }

    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

    // Closes now and reports what CloseHandle did (TRUE when nothing was held).
    BOOL Close()
    {
        BOOL result = IsValid() ? CloseHandle(m_handle) : TRUE;
        m_handle = nullptr;
        return result;
    }

    void Reset() { Close(); }

private:
    HANDLE m_handle = nullptr;
};

}  // namespace vellumry::kernel
