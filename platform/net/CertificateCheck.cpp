#include "platform/net/private/CertificateCheck.h"

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <mutex>
#include <optional>

#include "platform/net/CertificateErrors.h"
#include "platform/net/private/CurlLibrary.h"

namespace vellumry::net {
namespace {

// The TLS library's functions the verify hook needs, from the library that
// libcurl itself loaded: the hook runs only inside libcurl's handshake, so
// both are open by then.
struct SslApi {
    decltype(&::CRYPTO_get_ex_new_index) get_ex_new_index;
    decltype(&::SSL_CTX_set_ex_data) ctx_set_ex_data;
    decltype(&::SSL_CTX_get_ex_data) ctx_get_ex_data;
    decltype(&::SSL_CTX_set_verify) ctx_set_verify;
    decltype(&::SSL_get_SSL_CTX) get_ssl_ctx;
    decltype(&::SSL_get_ex_data_X509_STORE_CTX_idx) store_ssl_index;
    decltype(&::X509_STORE_CTX_get_ex_data) store_get_ex_data;
    decltype(&::X509_STORE_CTX_get_error) store_get_error;
    decltype(&::X509_STORE_CTX_set_error) store_set_error;
};

template <typename Function>
bool Resolve(const char* name, Function& target)
{
    target = reinterpret_cast<Function>(CurlLibrarySymbol(name));
    return target != nullptr;
}

// Null when libcurl's TLS library is not OpenSSL (then no hook is set).
const SslApi* Ssl()
{
    static const std::optional<SslApi> api = []() -> std::optional<SslApi> {
        SslApi a{};
        bool all = Resolve("CRYPTO_get_ex_new_index", a.get_ex_new_index) &&
                   Resolve("SSL_CTX_set_ex_data", a.ctx_set_ex_data) &&
                   Resolve("SSL_CTX_get_ex_data", a.ctx_get_ex_data) &&
                   Resolve("SSL_CTX_set_verify", a.ctx_set_verify) && Resolve("SSL_get_SSL_CTX", a.get_ssl_ctx) &&
                   Resolve("SSL_get_ex_data_X509_STORE_CTX_idx", a.store_ssl_index) &&
                   Resolve("X509_STORE_CTX_get_ex_data", a.store_get_ex_data) &&
                   Resolve("X509_STORE_CTX_get_error", a.store_get_error) &&
                   Resolve("X509_STORE_CTX_set_error", a.store_set_error);
        return all ? std::optional<SslApi>(a) : std::nullopt;
    }();
    return api ? &*api : nullptr;
}

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
    std::call_once(once, [] { index = Ssl()->get_ex_new_index(CRYPTO_EX_INDEX_SSL_CTX, 0, nullptr, nullptr, nullptr, nullptr); });
    return index;
}

int VerifyIgnoring(int preverified, X509_STORE_CTX* store)
{
    if (preverified == 1)
        return 1;
    const SslApi& api = *Ssl();
    auto* ssl = static_cast<SSL*>(api.store_get_ex_data(store, api.store_ssl_index()));
    if (ssl == nullptr)
        return 0;
    auto ignored = static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(api.ctx_get_ex_data(api.get_ssl_ctx(ssl), IgnoredFlagsIndex())));
    std::uint32_t kind = KindOf(api.store_get_error(store));
    if (kind == 0 || (ignored & kind) == 0)
        return 0;
    // Cleared, so that the verify result libcurl reads afterwards is good.
    api.store_set_error(store, X509_V_OK);
    return 1;
}

CURLcode OnSslContext(CURL*, void* context, void* user)
{
    auto* ctx = static_cast<SSL_CTX*>(context);
    const SslApi& api = *Ssl();
    api.ctx_set_ex_data(ctx, IgnoredFlagsIndex(), user);
    api.ctx_set_verify(ctx, SSL_VERIFY_PEER, VerifyIgnoring);
    return CURLE_OK;
}

}  // namespace

void ApplyCertificatePolicy(CURL* easy, std::uint32_t ignoredErrors)
{
    Curl().easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    Curl().easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, (ignoredErrors & kIgnoreNameMismatch) != 0 ? 0L : 2L);
    std::uint32_t chainErrors = ignoredErrors & (kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreDateInvalid);
    if (chainErrors == 0)
        return;
    void* flags = reinterpret_cast<void*>(static_cast<std::uintptr_t>(chainErrors));
    if (Ssl() != nullptr && Curl().easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, OnSslContext) == CURLE_OK) {
        Curl().easy_setopt(easy, CURLOPT_SSL_CTX_DATA, flags);
        return;
    }
    // A TLS back end without context access cannot ignore single kinds of
    // error; only all of them together can go.
    if (chainErrors == (kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreDateInvalid))
        Curl().easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
}

TransferError CertificateFailure(CURL* easy)
{
    long result = X509_V_OK;
    Curl().easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &result);
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
