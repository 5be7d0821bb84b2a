#pragma once

// Owners of libcurl's handles, and the one-time global set-up libcurl needs
// before its first handle.

#include <curl/curl.h>

#include <memory>

namespace vellumry::net {

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, EasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, MultiDeleter>;
using CurlSlist = std::unique_ptr<curl_slist, SlistDeleter>;

// Runs curl_global_init once for the process; later calls return at once.
void EnsureCurlInitialized();

// Appends a line to a list; false when libcurl cannot allocate.
bool AppendLine(CurlSlist& list, const char* line);

}  // namespace vellumry::net
