#pragma once

// The demo gallery: an HTTP/1.1 server on 127.0.0.1 serving the album pages
// and pictures of GalleryLayout.h, each connection on its own thread. A
// connection stays open for the next request when the client asks for it
// (HTTP/1.1 without "Connection: close"), until it has been idle for ten
// seconds; fault answers and refused requests end it.
//
// Fault modes, for tests of the program's requests, by path prefix; the rest
// of the path is then served as usual where a body is needed:
//   /fault/status/<code>          that status with a short text body
//   /fault/slow/<ms>/<path>       the body in 1 KiB pieces, <ms> apart
//   /fault/reset/<path>           half the body, then a TCP reset
//   /fault/truncated/<path>       the full Content-Length, half the body, close
//   /fault/oversized/<MiB>        a body of <MiB> MiB of zeros (at most 4096)
//   /fault/empty/<path>           200 with an empty body
//   /fault/redirect-loop          302 to itself, for ever
// Anything else that is no page or picture: 404.
//
// Destroying the server closes every connection and joins its threads.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/gallery/GalleryLayout.h"

namespace vellumry::gallery {

class GalleryServer {
public:
    // Listens on 127.0.0.1:`port`; port 0 takes a free one. Throws
    // std::runtime_error when the port cannot be bound.
    explicit GalleryServer(std::uint16_t port, GalleryShape shape = {});
    ~GalleryServer();
    GalleryServer(const GalleryServer&) = delete;
    GalleryServer& operator=(const GalleryServer&) = delete;

    std::uint16_t Port() const;
    const GalleryShape& Shape() const;
    // "http://127.0.0.1:<port>": the picture host of the pages served.
    std::string Address() const;
    // How many requests were answered or refused so far.
    int RequestCount() const;
    // The request paths (targets without their query) in the order they arrived.
    std::vector<std::string> RequestTargets() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace vellumry::gallery
