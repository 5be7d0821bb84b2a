#pragma once

// An HTTP server on 127.0.0.1 and an ephemeral port for tests, answering
// each request with a scripted reply and recording the exact bytes of every
// request it received. A reply is a list of steps, so a test can script
// faults: a reset in mid-body, a truncated body, a body that never ends, a
// server that never answers or drips its answer a byte at a time.
//
// With a TLS context the server speaks HTTPS (TestCertificate.h).
//
// Each connection is served on its own thread; requests on one connection
// are read one after another while the replies keep it open. The handler
// runs on those threads. Destroying the server ends every connection.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace vellumry::test {

struct ServedRequest {
    std::string head;  // request line and header lines, with the empty line that ends them
    std::string body;
    int connection = 0;  // 1 for the first connection the server accepted, and so on

    std::string Raw() const { return head + body; }
    std::string RequestLine() const;
    // The value of the first header of that name (any letter case), or empty.
    std::string Header(std::string_view name) const;
};

class ReplyScript {
public:
    enum class Kind { Send, Pause, Drip, Endless, Hang, Close, Reset };
    struct Step {
        Kind kind;
        std::string bytes;
        std::chrono::milliseconds interval{0};
    };

    ReplyScript& Send(std::string bytes);
    ReplyScript& Pause(std::chrono::milliseconds duration);
    // The bytes one at a time, `interval` apart.
    ReplyScript& Drip(std::string bytes, std::chrono::milliseconds interval);
    // The chunk again and again until the client goes away.
    ReplyScript& Endless(std::string chunk);
    // Nothing more, until the server is destroyed.
    ReplyScript& Hang();
    ReplyScript& Close();
    // Closes with a TCP reset.
    ReplyScript& Reset();

    const std::vector<Step>& Steps() const { return m_steps; }

private:
    std::vector<Step> m_steps;
};

// A complete reply with a Content-Length that keeps the connection open.
ReplyScript Respond(int status, std::string_view body, const std::vector<std::string>& headers = {});
// The same reply as bytes.
std::string ResponseBytes(int status, std::string_view body, const std::vector<std::string>& headers = {});

class LoopbackHttpServer {
public:
    using Handler = std::function<ReplyScript(const ServedRequest&)>;

    explicit LoopbackHttpServer(Handler handler, std::shared_ptr<SSL_CTX> tls = nullptr);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const;
    // "http://127.0.0.1:<port>" (https with TLS) followed by the path.
    std::string Url(std::string_view path) const;
    std::vector<ServedRequest> Requests() const;
    int ConnectionCount() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();

}  // namespace vellumry::test
