#pragma once

// The stand-in for the Windows HTTP request component,
// "WinHttp.WinHttpRequest.5.1", on the shared libcurl transfer.
// RegisterWinHttpRequestComponent registers its class under that program
// identifier; calling it again changes nothing. The object is described in
// private/WinHttpRequestObject.h.

#include "platform/com/ComTypes.h"

namespace vellumry::winhttp {

inline constexpr CLSID kWinHttpRequestClassId = {
    0x2087C2F4, 0x2CEF, 0x4953, {0xA8, 0xAB, 0x66, 0x77, 0x9B, 0x67, 0x04, 0x95}};

void RegisterWinHttpRequestComponent();

}  // namespace vellumry::winhttp
