#pragma once

// The entries of the program's DLL command table through which InetRequest
// calls the WinINet functions of "wininet.dll".

#include <cstdint>

namespace vellumry::web {

inline constexpr std::int32_t kInternetOpenCommand = 12;
inline constexpr std::int32_t kInternetCloseHandleCommand = 13;
inline constexpr std::int32_t kInternetConnectCommand = 14;
inline constexpr std::int32_t kHttpOpenRequestCommand = 15;
inline constexpr std::int32_t kHttpSendRequestTextCommand = 16;   // the data declared as a text
inline constexpr std::int32_t kHttpSendRequestBytesCommand = 17;  // the same export, the data as a byte-set
inline constexpr std::int32_t kInternetReadFileCommand = 18;
inline constexpr std::int32_t kHttpQueryInfoCommand = 19;

}  // namespace vellumry::web
