#pragma once

// The parts of a web address the request routines connect with: host, port
// and path. An address may come with "http://" or "https://" in any letter
// case, or without a scheme (then it is a plain http address). Texts are GBK
// bytes. Stateless; any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumry::web {

struct UrlHostOptions {
    bool rootOnly = false;  // only the last two dot-separated labels
    bool keepPort = false;  // keep a ":port" after the name
};

// The host name, lower-cased, without the port unless asked to keep it.
std::string UrlHost(std::string_view address, UrlHostOptions options = {});

// The port named in the address, else 443 for an https address and 80 for
// any other. Leading digits only; a port without digits gives 0.
std::int32_t UrlPort(std::string_view address);

// Everything from the first "/" after the host, query and fragment
// included, with its letters unchanged; "/" when nothing follows the host.
std::string UrlPath(std::string_view address);

}  // namespace vellumry::web
