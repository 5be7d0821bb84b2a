#include "platform/net/TransferAbort.h"

#include <atomic>

#include "platform/net/private/ActiveTransfers.h"

namespace vellumry::net {
namespace {

std::atomic<AbortPredicate> g_predicate{nullptr};

}  // namespace

void SetTransferAbortPredicate(AbortPredicate predicate)
{
    g_predicate.store(predicate);
}

bool TransferAbortRequested()
{
    AbortPredicate predicate = g_predicate.load();
    return predicate != nullptr && predicate();
}

void WakeTransfers()
{
    ActiveTransfers::Instance().WakeAll();
}

}  // namespace vellumry::net
