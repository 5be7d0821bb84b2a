#pragma once

// The failures of the request object as the WinHTTP component reports them:
// HRESULTs made from its documented error codes, each with the description
// the caller finds in the exception information.

#include <string_view>

#include "platform/com/ComTypes.h"
#include "platform/net/TransferError.h"

namespace vellumry::winhttp {

struct WinHttpFailure {
    HRESULT code;
    std::u16string_view description;
};

inline constexpr WinHttpFailure kCannotCallBeforeOpen{MakeHresult(0x80072F44),
                                                      u"The requested operation cannot be carried out before Open"};
inline constexpr WinHttpFailure kCannotCallBeforeSend{
    MakeHresult(0x80072F45), u"The requested operation cannot be carried out before a response arrived"};
inline constexpr WinHttpFailure kCannotCallAfterSend{MakeHresult(0x80072F46),
                                                     u"The requested operation cannot be carried out after Send"};
inline constexpr WinHttpFailure kInvalidUrl{MakeHresult(0x80072EE5), u"The URL is invalid"};
inline constexpr WinHttpFailure kUnrecognizedScheme{MakeHresult(0x80072EE6),
                                                    u"The URL does not use a recognized protocol"};
inline constexpr WinHttpFailure kInvalidHeader{MakeHresult(0x80072F79), u"The header is invalid"};
inline constexpr WinHttpFailure kInvalidArgument{E_INVALIDARG, u"The parameter is incorrect"};
inline constexpr WinHttpFailure kNoAsynchronousRequests{E_NOTIMPL,
                                                        u"Asynchronous requests are not offered; pass false"};

WinHttpFailure FailureOf(net::TransferError error);

}  // namespace vellumry::winhttp
