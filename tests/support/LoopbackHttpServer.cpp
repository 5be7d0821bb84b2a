#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <openssl/ssl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace vellumry::test {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

const char* ReasonOf(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

}  // namespace

std::string ServedRequest::RequestLine() const
{
    return head.substr(0, head.find("\r\n"));
}

std::string ServedRequest::Header(std::string_view name) const
{
    std::string_view rest(head);
    rest.remove_prefix(std::min(rest.size(), rest.find("\r\n") + 2));
    while (!rest.empty()) {
        std::size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !EqualsIgnoringCase(line.substr(0, colon), name))
            continue;
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        return std::string(value);
    }
    return {};
}

ReplyScript& ReplyScript::Send(std::string bytes)
{
    m_steps.push_back({Kind::Send, std::move(bytes), {}});
    return *this;
}

ReplyScript& ReplyScript::Pause(std::chrono::milliseconds duration)
{
    m_steps.push_back({Kind::Pause, {}, duration});
    return *this;
}

ReplyScript& ReplyScript::Drip(std::string bytes, std::chrono::milliseconds interval)
{
    m_steps.push_back({Kind::Drip, std::move(bytes), interval});
    return *this;
}

ReplyScript& ReplyScript::Endless(std::string chunk)
{
    m_steps.push_back({Kind::Endless, std::move(chunk), {}});
    return *this;
}

ReplyScript& ReplyScript::Hang()
{
    m_steps.push_back({Kind::Hang, {}, {}});
    return *this;
}

ReplyScript& ReplyScript::Close()
{
    m_steps.push_back({Kind::Close, {}, {}});
    return *this;
}

ReplyScript& ReplyScript::Reset()
{
    m_steps.push_back({Kind::Reset, {}, {}});
    return *this;
}

std::string ResponseBytes(int status, std::string_view body, const std::vector<std::string>& headers)
{
    std::string bytes = "HTTP/1.1 " + std::to_string(status) + " " + ReasonOf(status) + "\r\n";
    for (const std::string& line : headers)
        bytes += line + "\r\n";
    bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    bytes += body;
    return bytes;
}

ReplyScript Respond(int status, std::string_view body, const std::vector<std::string>& headers)
{
    return ReplyScript().Send(ResponseBytes(status, body, headers));
}

// A client connection, plain or TLS.
struct Connection {
    int fd = -1;
    SSL* ssl = nullptr;

    ~Connection()
    {
        if (ssl != nullptr)
            SSL_free(ssl);
        if (fd >= 0)
            close(fd);
    }
    bool HasBuffered() const { return ssl != nullptr && SSL_pending(ssl) > 0; }
    ssize_t Receive(char* data, std::size_t size)
    {
        if (ssl == nullptr)
            return recv(fd, data, size, 0);
        int got = SSL_read(ssl, data, static_cast<int>(size));
        return got > 0 ? got : -1;
    }
    ssize_t Transmit(const char* data, std::size_t size)
    {
        if (ssl == nullptr)
            return send(fd, data, size, MSG_NOSIGNAL);
        int sent = SSL_write(ssl, data, static_cast<int>(size));
        return sent > 0 ? sent : -1;
    }
};

struct LoopbackHttpServer::State {
    Handler handler;
    std::shared_ptr<SSL_CTX> tls;
    int listenFd = -1;
    int stopFd = -1;
    int port = 0;
    std::thread acceptor;

    mutable std::mutex lock;
    std::vector<ServedRequest> requests;
    std::vector<std::thread> connections;
    int connectionCount = 0;

    // Waits until `fd` has the events or the server stops; false on stop.
    bool WaitFor(int fd, short events, int timeoutMs = -1)
    {
        pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
        int ready = poll(fds, 2, timeoutMs);
        if (ready < 0 || (fds[1].revents & POLLIN) != 0)
            return false;
        return true;
    }

    bool Stopping()
    {
        pollfd fd{stopFd, POLLIN, 0};
        return poll(&fd, 1, 0) > 0;
    }

    bool SendAll(Connection& connection, std::string_view bytes)
    {
        while (!bytes.empty()) {
            if (!WaitFor(connection.fd, POLLOUT))
                return false;
            ssize_t sent = connection.Transmit(bytes.data(), bytes.size());
            if (sent <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    // Sleeps, or returns false early when the server stops.
    bool Sleep(std::chrono::milliseconds duration)
    {
        pollfd fd{stopFd, POLLIN, 0};
        return poll(&fd, 1, static_cast<int>(duration.count())) == 0;
    }

    // Reads one request; false when the client closed or the server stops.
    bool ReadRequest(Connection& fd, std::string& buffer, ServedRequest& request)
    {
        std::size_t headEnd;
        while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos)
            if (!ReadMore(fd, buffer))
                return false;
        request.head = buffer.substr(0, headEnd + 4);
        std::string length = request.Header("Content-Length");
        std::size_t bodySize = length.empty() ? 0 : std::strtoul(length.c_str(), nullptr, 10);
        while (buffer.size() < headEnd + 4 + bodySize)
            if (!ReadMore(fd, buffer))
                return false;
        request.body = buffer.substr(headEnd + 4, bodySize);
        buffer.erase(0, headEnd + 4 + bodySize);
        return true;
    }

    bool ReadMore(Connection& connection, std::string& buffer)
    {
        if (!connection.HasBuffered() && !WaitFor(connection.fd, POLLIN))
            return false;
        char chunk[4096];
        ssize_t got = connection.Receive(chunk, sizeof chunk);
        if (got <= 0)
            return false;
        buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }

    // Runs a reply; false when the connection is finished with.
    bool Play(Connection& fd, const ReplyScript& script)
    {
        for (const ReplyScript::Step& step : script.Steps()) {
            switch (step.kind) {
            case ReplyScript::Kind::Send:
                if (!SendAll(fd, step.bytes))
                    return false;
                break;
            case ReplyScript::Kind::Pause:
                if (!Sleep(step.interval))
                    return false;
                break;
            case ReplyScript::Kind::Drip:
                for (char c : step.bytes)
                    if (!Sleep(step.interval) || !SendAll(fd, std::string_view(&c, 1)))
                        return false;
                break;
            case ReplyScript::Kind::Endless:
                while (SendAll(fd, step.bytes)) {
                }
                return false;
            case ReplyScript::Kind::Hang: {
                // Until the server stops or the client goes away.
                std::string ignored;
                while (ReadMore(fd, ignored))
                    ignored.clear();
                return false;
            }
            case ReplyScript::Kind::Close:
                return false;
            case ReplyScript::Kind::Reset: {
                linger hard{1, 0};
                setsockopt(fd.fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
                return false;
            }
            }
        }
        return true;
    }

    void Serve(int socket, int connection)
    {
        Connection fd;
        fd.fd = socket;
        if (tls) {
            // A client that never finishes its handshake is given up on.
            timeval limit{5, 0};
            setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            fd.ssl = SSL_new(tls.get());
            if (fd.ssl == nullptr || SSL_set_fd(fd.ssl, socket) != 1 || SSL_accept(fd.ssl) != 1)
                return;
            timeval none{0, 0};
            setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &none, sizeof none);
        }
        std::string buffer;
        for (;;) {
            ServedRequest request;
            request.connection = connection;
            if (!ReadRequest(fd, buffer, request))
                break;
            {
                std::lock_guard guard(lock);
                requests.push_back(request);
            }
            if (!Play(fd, handler(request)))
                break;
        }
    }

    void Accept()
    {
        for (;;) {
            if (!WaitFor(listenFd, POLLIN))
                return;
            int fd = accept(listenFd, nullptr, nullptr);
            if (fd < 0)
                continue;
            std::lock_guard guard(lock);
            int connection = ++connectionCount;
            connections.emplace_back([this, fd, connection] { Serve(fd, connection); });
        }
    }
};

LoopbackHttpServer::LoopbackHttpServer(Handler handler, std::shared_ptr<SSL_CTX> tls)
    : m_state(std::make_shared<State>())
{
    // A TLS write to a client that has gone must not end the test program.
    signal(SIGPIPE, SIG_IGN);
    State& state = *m_state;
    state.handler = std::move(handler);
    state.tls = std::move(tls);
    state.stopFd = eventfd(0, EFD_CLOEXEC);
    state.listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (state.stopFd < 0 || state.listenFd < 0 ||
        bind(state.listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(state.listenFd, 64) != 0 ||
        getsockname(state.listenFd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("the loopback server cannot listen");
    state.port = ntohs(address.sin_port);
    state.acceptor = std::thread([&state] { state.Accept(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    State& state = *m_state;
    std::uint64_t one = 1;
    (void)!write(state.stopFd, &one, sizeof one);
    state.acceptor.join();
    std::vector<std::thread> connections;
    {
        std::lock_guard guard(state.lock);
        connections.swap(state.connections);
    }
    for (std::thread& connection : connections)
        connection.join();
    close(state.listenFd);
    close(state.stopFd);
}

int LoopbackHttpServer::Port() const
{
    return m_state->port;
}

std::string LoopbackHttpServer::Url(std::string_view path) const
{
    return (m_state->tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(m_state->port) +
           std::string(path);
}

std::vector<ServedRequest> LoopbackHttpServer::Requests() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->requests;
}

int LoopbackHttpServer::ConnectionCount() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->connectionCount;
}

int ClosedPort()
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace vellumry::test
