#pragma once

// Self-signed server certificates made at test time, for the TLS mode of the
// loopback server: one names a host or address and is valid now, or has
// expired. None is issued by an authority the system trusts.

#include <memory>
#include <string>

typedef struct ssl_ctx_st SSL_CTX;

namespace vellumry::test {

struct CertificateOrder {
    std::string name = "127.0.0.1";  // an IP address or a DNS name, in the subject and its alternative names
    bool expired = false;
};

// A server TLS context holding a fresh key and certificate made to the order.
std::shared_ptr<SSL_CTX> MakeServerContext(const CertificateOrder& order);

}  // namespace vellumry::test
