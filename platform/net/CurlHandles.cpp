#include "platform/net/private/CurlHandles.h"

#include <mutex>

namespace vellumry::net {

void EnsureCurlInitialized()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool AppendLine(CurlSlist& list, const char* line)
{
    curl_slist* grown = curl_slist_append(list.get(), line);
    if (grown == nullptr)
        return false;
    (void)list.release();
    list.reset(grown);
    return true;
}

}  // namespace vellumry::net
