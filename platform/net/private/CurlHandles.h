#pragma once

// Owners of libcurl's handles.

#include <curl/curl.h>

#include <memory>

#include "platform/net/private/CurlLibrary.h"

namespace vellumry::net {

struct EasyDeleter {
    void operator()(CURL* easy) const { Curl().easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { Curl().multi_cleanup(multi); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { Curl().slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, EasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, MultiDeleter>;
using CurlSlist = std::unique_ptr<curl_slist, SlistDeleter>;

// Appends a line to a list; false when libcurl cannot allocate.
bool AppendLine(CurlSlist& list, const char* line);

}  // namespace vellumry::net
