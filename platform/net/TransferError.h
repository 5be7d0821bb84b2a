#pragma once

// How a transfer failed, in the terms both HTTP stand-ins report: each one
// turns a failure into its own documented code (WinINet last-error values,
// WinHTTP HRESULTs) in one place.

namespace vellumry::net {

enum class TransferError {
    None,
    InvalidUrl,           // the address cannot be parsed
    UnsupportedScheme,    // neither http nor https
    NameNotResolved,      // the host (or proxy) name does not resolve
    CannotConnect,        // refused or unreachable
    Timeout,              // connect time-out, or too slow for the receive time-out
    ConnectionReset,      // the peer reset the connection
    ConnectionAborted,    // the connection ended early (a truncated body)
    InvalidResponse,      // no answer, or one that is not HTTP
    RedirectFailed,       // too many redirects, or one to a scheme other than http and https
    HttpToHttpsRedirect,  // a redirect from http to https the caller does not allow
    HttpsToHttpRedirect,  // a redirect from https to http the caller does not allow
    CertificateAuthority, // the certificate is not issued by a trusted authority
    CertificateName,      // the certificate names another host
    CertificateDate,      // the certificate has expired or is not valid yet
    CertificateUsage,     // the certificate is not meant for a server
    SecureFailure,        // any other failure of the secure channel
    BodyTooLarge,         // the decoded body passed the body cap
    Cancelled,            // the calling thread was stopped
    OutOfMemory,
    Internal,
};

}  // namespace vellumry::net
