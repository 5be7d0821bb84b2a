#pragma once

// Scripted replies of broken and hostile servers, shared by the tests of the
// HTTP stand-ins and of the request routines. Each fault ends, on a client
// that keeps the transfer limits, in a failed request.

#include <cstddef>
#include <string>

#include "tests/support/LoopbackHttpServer.h"

namespace vellumry::test {

enum class Fault {
    ConnectionRefused,  // no reply: the address names a closed port
    ResetMidBody,
    TruncatedBody,
    RedirectLoop,
    RedirectToFile,
    EndlessBody,
    GzipBomb,
    Silent,  // accepts and never answers
    Drip,    // answers a byte at a time, far below any useful speed
};

const char* FaultName(Fault fault);

// The reply of a server with the fault (not for ConnectionRefused).
ReplyScript FaultReply(Fault fault);

// `size` zero bytes, gzip-compressed.
std::string GzipOfZeros(std::size_t size);

// The decoded size of the gzip bomb FaultReply sends; tests keep the body
// cap below it.
inline constexpr std::size_t kGzipBombSize = std::size_t{64} << 20;

}  // namespace vellumry::test
