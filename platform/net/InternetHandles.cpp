#include "platform/net/private/InternetHandles.h"

#include "platform/base/HandleRegistry.h"

namespace vellumry::net {
namespace {

// Values start apart from the kernel's handles and step by 4.
constexpr std::uintptr_t kFirstHandle = 0xCC0004;
constexpr std::uintptr_t kHandleStep = 4;

base::HandleRegistry<InternetObject>& TheTable()
{
    static base::HandleRegistry<InternetObject> table(kFirstHandle, kHandleStep);
    return table;
}

struct Defaults {
    std::mutex lock;
    TransferTimeouts timeouts;
};

Defaults& TheDefaults()
{
    static Defaults defaults;
    return defaults;
}

}  // namespace

TransferTimeouts InternetObject::Timeouts() const
{
    std::lock_guard guard(m_lock);
    return m_timeouts;
}

void InternetObject::SetTimeouts(const TransferTimeouts& timeouts)
{
    std::lock_guard guard(m_lock);
    m_timeouts = timeouts;
}

HINTERNET InsertInternetHandle(std::shared_ptr<InternetObject> object)
{
    return TheTable().Insert(std::move(object));
}

std::shared_ptr<InternetObject> LookupInternetHandle(HINTERNET handle)
{
    return TheTable().Lookup(handle);
}

bool RemoveInternetHandle(HINTERNET handle)
{
    // The object goes here, outside the table's lock.
    return TheTable().Remove(handle) != nullptr;
}

TransferTimeouts DefaultInternetTimeouts()
{
    std::lock_guard guard(TheDefaults().lock);
    return TheDefaults().timeouts;
}

void SetDefaultInternetTimeouts(const TransferTimeouts& timeouts)
{
    std::lock_guard guard(TheDefaults().lock);
    TheDefaults().timeouts = timeouts;
}

}  // namespace vellumry::net
