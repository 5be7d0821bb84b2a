#pragma once

// The certificate errors a caller may choose to ignore, with the values both
// WinINet's SECURITY_FLAG_IGNORE_* and WinHTTP's SslErrorIgnoreFlags give
// them. Certificates are checked in full unless a caller names an error here.

#include <cstdint>

namespace vellumry::net {

inline constexpr std::uint32_t kIgnoreUnknownAuthority = 0x0100;
inline constexpr std::uint32_t kIgnoreWrongUsage = 0x0200;
inline constexpr std::uint32_t kIgnoreNameMismatch = 0x1000;
inline constexpr std::uint32_t kIgnoreDateInvalid = 0x2000;
inline constexpr std::uint32_t kAllCertificateErrors =
    kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreNameMismatch | kIgnoreDateInvalid;

}  // namespace vellumry::net
