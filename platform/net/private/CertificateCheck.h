#pragma once

// Certificate checks on libcurl's OpenSSL back end. The chain and the host
// name are always verified; a caller may let through exactly the kinds of
// certificate error it names (CertificateErrors.h). A verify callback on the
// TLS context libcurl makes for each connection clears the errors of the
// ignored kinds and keeps every other one.

#include <curl/curl.h>

#include <cstdint>

#include "platform/net/TransferError.h"

namespace vellumry::net {

// Sets the verification options of the next transfer on `easy`.
void ApplyCertificatePolicy(CURL* easy, std::uint32_t ignoredErrors);

// The kind of certificate error that failed a transfer with
// CURLE_PEER_FAILED_VERIFICATION.
TransferError CertificateFailure(CURL* easy);

}  // namespace vellumry::net
