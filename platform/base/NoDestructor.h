#pragma once

// A static object that is never destroyed: for process-wide tables that
// other static objects may still use while the process exits (a handle table
// whose handles are released by destructors of other statics). Its memory is
// returned with the process.
//
//     base::Guarded<HandleStore>& Store()
//     {
//         static base::NoDestructor<base::Guarded<HandleStore>> store;
//         return *store;
//     }

#include <new>
#include <utility>

namespace vellumry::base {

template <typename T>
class NoDestructor {
public:
    template <typename... Args>
    explicit NoDestructor(Args&&... args)
    {
        new (m_storage) T(std::forward<Args>(args)...);
    }
    NoDestructor(const NoDestructor&) = delete;
    NoDestructor& operator=(const NoDestructor&) = delete;

    T& operator*() { return *std::launder(reinterpret_cast<T*>(m_storage)); }
    T* operator->() { return &**this; }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

}  // namespace vellumry::base
