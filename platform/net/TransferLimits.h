#pragma once

// The limits every HTTP transfer of both stand-ins keeps, so that a hostile
// or broken server cannot hold a worker or exhaust memory:
// - at most kMaxRedirects redirects, to http and https addresses only;
// - a body cap on the decoded bytes of a response (a gzip bomb counts at its
//   decoded size); a response beyond it fails the request;
// - a low-speed rule: a transfer whose speed stays below
//   kLowSpeedBytesPerSecond for the whole receive time-out fails as a
//   time-out, whether the server is silent or drips.

#include <cstddef>

namespace vellumry::net {

inline constexpr int kMaxRedirects = 10;
inline constexpr long kLowSpeedBytesPerSecond = 1024;
inline constexpr std::size_t kDefaultBodyCap = std::size_t{256} << 20;

// The body cap for transfers that start from now on; any thread.
void SetBodyCap(std::size_t bytes);
std::size_t BodyCap();

}  // namespace vellumry::net
