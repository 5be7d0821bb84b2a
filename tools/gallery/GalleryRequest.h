#pragma once

// Reading what a client asked the demo gallery for: the request line of a
// request head, and the fault a "/fault/..." target names. Pure functions
// over the client's bytes; nothing here trusts them.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vellumry::gallery {

struct RequestLine {
    std::string method;
    std::string path;  // the target without its query
};

// The request line of a head that ends with its empty line; none for a head
// without one or a line that is not "<method> <target> <version>".
std::optional<RequestLine> ParseRequestHead(std::string_view head);

// True when the client lets the connection stay open after the answer:
// HTTP/1.1 without "Connection: close", or HTTP/1.0 with
// "Connection: keep-alive" (header names and values without letter case).
bool WantsKeepAlive(std::string_view head);

struct FaultPath {
    std::string_view kind;
    std::string_view rest;  // after "<kind>", with its leading "/", or empty
};

// "/fault/<kind>/<rest>"; none for any other path.
std::optional<FaultPath> ParseFault(std::string_view path);

// The first segment of `rest` ("/<digits>...") as a number, and what
// follows it; none when that segment is not a number in the int range.
std::optional<std::pair<int, std::string_view>> LeadingNumber(std::string_view rest);

}  // namespace vellumry::gallery
