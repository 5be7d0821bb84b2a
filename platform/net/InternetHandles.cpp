#include "platform/net/private/InternetHandles.h"

#include <unordered_map>

namespace vellumry::net {
namespace {

// Values start apart from the kernel's handles and step by 4.
constexpr std::uintptr_t kFirstHandle = 0xCC0004;
constexpr std::uintptr_t kHandleStep = 4;

struct Table {
    std::mutex lock;
    std::uintptr_t next = kFirstHandle;
    std::unordered_map<std::uintptr_t, std::shared_ptr<InternetObject>> objects;
    TransferTimeouts defaults;
};

Table& TheTable()
{
    static Table table;
    return table;
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
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    std::uintptr_t value = table.next;
    table.next += kHandleStep;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HINTERNET>(value);
}

std::shared_ptr<InternetObject> LookupInternetHandle(HINTERNET handle)
{
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

bool RemoveInternetHandle(HINTERNET handle)
{
    std::shared_ptr<InternetObject> object;  // released outside the lock
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == table.objects.end())
        return false;
    object = std::move(found->second);
    table.objects.erase(found);
    return true;
}

TransferTimeouts DefaultInternetTimeouts()
{
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    return table.defaults;
}

void SetDefaultInternetTimeouts(const TransferTimeouts& timeouts)
{
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    table.defaults = timeouts;
}

}  // namespace vellumry::net
