#pragma once

// Ref<T>: a counted reference to a component-model interface. It releases what
// it holds when it goes or is overwritten, so nobody calls Release by hand.
//
//   Ref<IDispatch> dispatch;
//   HRESULT hr = unknown->QueryInterface(IID_IDispatch, dispatch.PutVoid());
//   Ref<IDispatch> same = Ref<IDispatch>::QueryFrom(unknown.Get());
//
// Adopt takes over a reference the caller already owns (a pointer fresh from
// QueryInterface or a factory); the constructor from a raw pointer adds one.
// Detach hands the reference on without releasing it.

#include <utility>

#include "platform/com/Unknown.h"

namespace vellumry::com {

template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Adds a reference of its own.
    explicit Ref(T* pointer) : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    Ref(const Ref& other) : Ref(other.m_pointer) {}
    Ref(Ref&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    template <typename U>
    Ref(Ref<U>&& other) noexcept : m_pointer(other.Detach())
    {
    }
    ~Ref() { Reset(); }

    Ref& operator=(Ref other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    // Takes over a reference the caller owns.
    static Ref Adopt(T* pointer)
    {
        Ref ref;
        ref.m_pointer = pointer;
        return ref;
    }

    // The object's T interface through QueryInterface, or null.
    template <typename From>
    static Ref QueryFrom(From* object)
    {
        Ref ref;
        if (object)
            object->QueryInterface(T::kIid, ref.PutVoid());
        return ref;
    }

    void Reset()
    {
        if (T* pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }
    T* Detach() { return std::exchange(m_pointer, nullptr); }
    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    T& operator*() const { return *m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Releases what is held and offers the slot for an out parameter.
    T** Put()
    {
        Reset();
        return &m_pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    T* m_pointer = nullptr;
};

template <typename T>
bool operator==(const Ref<T>& ref, std::nullptr_t)
{
    return !ref;
}

}  // namespace vellumry::com
