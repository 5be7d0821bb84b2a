#include "platform/net/private/CurlHandles.h"

namespace vellumry::net {

bool AppendLine(CurlSlist& list, const char* line)
{
    curl_slist* grown = Curl().slist_append(list.get(), line);
    if (grown == nullptr)
        return false;
    (void)list.release();
    list.reset(grown);
    return true;
}

}  // namespace vellumry::net
