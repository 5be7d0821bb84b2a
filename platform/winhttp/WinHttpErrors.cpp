#include "platform/winhttp/private/WinHttpErrors.h"

namespace vellumry::winhttp {
namespace {

// HRESULT_FROM_WIN32 of a WinHTTP or system error code.
constexpr HRESULT FromWin32(std::uint32_t code)
{
    return MakeHresult(0x80070000u | code);
}

}  // namespace

WinHttpFailure FailureOf(net::TransferError error)
{
    using net::TransferError;
    switch (error) {
    case TransferError::None:
        return {S_OK, u""};
    case TransferError::InvalidUrl:
        return kInvalidUrl;
    case TransferError::UnsupportedScheme:
        return kUnrecognizedScheme;
    case TransferError::NameNotResolved:
        return {FromWin32(12007), u"The server name or address could not be resolved"};
    case TransferError::CannotConnect:
        return {FromWin32(12029), u"A connection with the server could not be established"};
    case TransferError::Timeout:
        return {FromWin32(12002), u"The operation timed out"};
    case TransferError::ConnectionReset:
    case TransferError::ConnectionAborted:
        return {FromWin32(12030), u"The connection with the server was terminated abnormally"};
    case TransferError::InvalidResponse:
        return {FromWin32(12152), u"The server returned an invalid or unrecognized response"};
    case TransferError::RedirectFailed:
    case TransferError::HttpToHttpsRedirect:
    case TransferError::HttpsToHttpRedirect:
        return {FromWin32(12156), u"The redirection failed"};
    case TransferError::CertificateAuthority:
        return {FromWin32(12045), u"The certificate authority is invalid or incorrect"};
    case TransferError::CertificateName:
        return {FromWin32(12038), u"The host name in the certificate is invalid or does not match"};
    case TransferError::CertificateDate:
        return {FromWin32(12037), u"The date in the certificate is invalid or has expired"};
    case TransferError::CertificateUsage:
        return {FromWin32(12179), u"The certificate is not valid for the requested usage"};
    case TransferError::SecureFailure:
        return {FromWin32(12175), u"A security error occurred"};
    case TransferError::BodyTooLarge:
        return {FromWin32(223), u"The response is larger than the body limit"};
    case TransferError::Cancelled:
        return {FromWin32(12017), u"The operation has been canceled"};
    case TransferError::OutOfMemory:
        return {E_OUTOFMEMORY, u"Not enough memory"};
    case TransferError::Internal:
        break;
    }
    return {FromWin32(12004), u"An internal error occurred"};
}

}  // namespace vellumry::winhttp
