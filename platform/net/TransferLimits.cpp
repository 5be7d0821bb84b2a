#include "platform/net/TransferLimits.h"

#include <atomic>

namespace vellumry::net {
namespace {

std::atomic<std::size_t> g_bodyCap{kDefaultBodyCap};

}  // namespace

void SetBodyCap(std::size_t bytes)
{
    g_bodyCap.store(bytes);
}

std::size_t BodyCap()
{
    return g_bodyCap.load();
}

}  // namespace vellumry::net
