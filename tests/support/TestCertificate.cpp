#include "tests/support/TestCertificate.h"

#include <arpa/inet.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace vellumry::test {
namespace {

constexpr long kDay = 24 * 60 * 60;

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + what);
}

bool IsAddress(const std::string& name)
{
    unsigned char bytes[16];
    return inet_pton(AF_INET, name.c_str(), bytes) == 1 || inet_pton(AF_INET6, name.c_str(), bytes) == 1;
}

}  // namespace

std::shared_ptr<SSL_CTX> MakeServerContext(const CertificateOrder& order)
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    Check(key != nullptr, "key");
    std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), X509_free);
    Check(certificate != nullptr, "certificate");
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    // An expired certificate was valid for a day, ten days ago.
    X509_gmtime_adj(X509_getm_notBefore(cert), order.expired ? -11 * kDay : -kDay);
    X509_gmtime_adj(X509_getm_notAfter(cert), order.expired ? -10 * kDay : 30 * kDay);
    X509_NAME* subject = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(order.name.c_str()), -1, -1, 0);
    X509_set_issuer_name(cert, subject);
    X509_set_pubkey(cert, key.get());

    std::string alternative = (IsAddress(order.name) ? "IP:" : "DNS:") + order.name;
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension =
        X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, alternative.c_str());
    Check(extension != nullptr, "alternative name");
    X509_add_ext(cert, extension, -1);
    X509_EXTENSION_free(extension);
    Check(X509_sign(cert, key.get(), EVP_sha256()) > 0, "signature");

    std::shared_ptr<SSL_CTX> ctx(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    Check(ctx != nullptr, "context");
    Check(SSL_CTX_use_certificate(ctx.get(), cert) == 1, "use certificate");
    Check(SSL_CTX_use_PrivateKey(ctx.get(), key.get()) == 1, "use key");
    return ctx;
}

}  // namespace vellumry::test
