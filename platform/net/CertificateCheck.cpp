#include "platform/net/private/CertificateCheck.h"

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <mutex>

#include "platform/net/CertificateErrors.h"

namespace vellumry::net {
namespace {

std::uint32_t KindOf(int x509Error)
{
    switch (x509Error) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
        return kIgnoreUnknownAuthority;
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return kIgnoreDateInvalid;
    case X509_V_ERR_INVALID_PURPOSE:
        return kIgnoreWrongUsage;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return kIgnoreNameMismatch;
    default:
        return 0;
    }
}

int IgnoredFlagsIndex()
{
    static int index = -1;
    static std::once_flag once;
    std::call_once(once, [] { index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr); });
    return index;
}

int VerifyIgnoring(int preverified, X509_STORE_CTX* store)
{
    if (preverified == 1)
        return 1;
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    if (ssl == nullptr)
        return 0;
    auto ignored = static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), IgnoredFlagsIndex())));
    std::uint32_t kind = KindOf(X509_STORE_CTX_get_error(store));
    if (kind == 0 || (ignored & kind) == 0)
        return 0;
    // Cleared, so that the verify result libcurl reads afterwards is good.
    X509_STORE_CTX_set_error(store, X509_V_OK);
    return 1;
}

CURLcode OnSslContext(CURL*, void* context, void* user)
{
    auto* ctx = static_cast<SSL_CTX*>(context);
    SSL_CTX_set_ex_data(ctx, IgnoredFlagsIndex(), user);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, VerifyIgnoring);
    return CURLE_OK;
}

}  // namespace

void ApplyCertificatePolicy(CURL* easy, std::uint32_t ignoredErrors)
{
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, (ignoredErrors & kIgnoreNameMismatch) != 0 ? 0L : 2L);
    std::uint32_t chainErrors = ignoredErrors & (kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreDateInvalid);
    if (chainErrors == 0)
        return;
    void* flags = reinterpret_cast<void*>(static_cast<std::uintptr_t>(chainErrors));
    if (curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, OnSslContext) == CURLE_OK) {
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, flags);
        return;
    }
    // A TLS back end without context access cannot ignore single kinds of
    // error; only all of them together can go.
    if (chainErrors == (kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreDateInvalid))
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
}

TransferError CertificateFailure(CURL* easy)
{
    long result = X509_V_OK;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &result);
    // libcurl checks the host name itself once the chain has passed, and
    // leaves no particular verify result when that check fails.
    if (result == X509_V_OK || result == X509_V_ERR_UNSPECIFIED)
        return TransferError::CertificateName;
    switch (KindOf(static_cast<int>(result))) {
    case kIgnoreUnknownAuthority:
        return TransferError::CertificateAuthority;
    case kIgnoreDateInvalid:
        return TransferError::CertificateDate;
    case kIgnoreWrongUsage:
        return TransferError::CertificateUsage;
    case kIgnoreNameMismatch:
        return TransferError::CertificateName;
    default:
        return TransferError::SecureFailure;
    }
}

}  // namespace vellumry::net
