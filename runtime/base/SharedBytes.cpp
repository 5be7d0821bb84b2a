#include "runtime/base/SharedBytes.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Guarded.h"

namespace vellumry::runtime {
namespace {

struct Lender {
    std::weak_ptr<const void> owner;
    const std::uint8_t* begin = nullptr;
    const std::uint8_t* end = nullptr;
};

// The live lenders. Expired entries are dropped whenever one is added, so
// the list stays as long as the number of live lenders (a few per form).
base::Guarded<std::vector<Lender>> g_lenders;

std::shared_ptr<const void> OwnedVector(std::vector<std::uint8_t> bytes)
{
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
}

std::span<const std::uint8_t> BytesOf(const std::shared_ptr<const void>& owner)
{
    const auto& vector = *static_cast<const std::vector<std::uint8_t>*>(owner.get());
    return vector;
}

}  // namespace

SharedBytes::SharedBytes(std::vector<std::uint8_t> bytes)
{
    if (bytes.empty())
        return;
    m_owner = OwnedVector(std::move(bytes));
    m_bytes = BytesOf(m_owner);
}

SharedBytes::SharedBytes(std::initializer_list<std::uint8_t> bytes)
    : SharedBytes(std::vector<std::uint8_t>(bytes))
{
}

SharedBytes::SharedBytes(std::shared_ptr<const void> owner, std::span<const std::uint8_t> bytes)
    : m_owner(bytes.empty() ? nullptr : std::move(owner)), m_bytes(bytes)
{
}

SharedBytes SharedBytes::Borrow(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return {};
    {
        auto lenders = g_lenders.Lock();
        for (const Lender& lender : *lenders) {
            if (bytes.data() < lender.begin || bytes.data() + bytes.size() > lender.end)
                continue;
            if (auto owner = lender.owner.lock())
                return SharedBytes(std::move(owner), bytes);
        }
    }
    return SharedBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

bool SharedBytes::operator==(const SharedBytes& other) const
{
    return size() == other.size() && (data() == other.data() || std::equal(begin(), end(), other.begin()));
}

void LendBytes(const std::shared_ptr<const void>& owner, std::span<const std::uint8_t> bytes)
{
    if (!owner || bytes.empty())
        return;
    auto lenders = g_lenders.Lock();
    std::erase_if(*lenders, [](const Lender& lender) { return lender.owner.expired(); });
    lenders->push_back({owner, bytes.data(), bytes.data() + bytes.size()});
}

}  // namespace vellumry::runtime
