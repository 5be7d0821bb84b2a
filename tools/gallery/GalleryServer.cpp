#include "tools/gallery/GalleryServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryRequest.h"

namespace vellumry::gallery {

// How a connection goes on after an answer.
enum class Ending { KeepOpen, Close, Reset };

struct GalleryServer::State {
    GalleryShape shape;
    int listener = -1;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> requests{0};
    mutable std::mutex targetLock;
    std::vector<std::string> targets;
    std::mutex lock;
    std::condition_variable wake;
    std::vector<int> openSockets;
    int activeConnections = 0;  // detached connection threads still running
    std::thread acceptor;
    // Pictures are painted once and kept.
    std::mutex pictureLock;
    std::map<std::string, std::shared_ptr<const std::vector<std::uint8_t>>> pictures;

    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port); }
    void AcceptLoop(const std::shared_ptr<State>& self);
    // The next request head on the connection, with what came after it kept
    // in `pending`; empty when the client closed or stayed silent too long.
    std::string ReadHead(int socket, std::string& pending);
    // Answers one request.
    Ending Serve(int socket, const std::string& head);
    void ServeConnection(int socket);
    // Ends the sending side and reads what the client still sends until it
    // closes, so that closing never meets unread bytes, which would turn the
    // close into a reset and could cost the client the end of the answer.
    void LingerAndDrain(int socket);
    // Sleeps up to `duration`; false when the server is stopping.
    bool Pause(std::chrono::milliseconds duration)
    {
        std::unique_lock guard(lock);
        return !wake.wait_for(guard, duration, [this] { return stopping.load(); });
    }
    std::shared_ptr<const std::vector<std::uint8_t>> Picture(const PictureAddress& picture, const std::string& key)
    {
        {
            std::lock_guard guard(pictureLock);
            if (auto found = pictures.find(key); found != pictures.end())
                return found->second;
        }
        auto bytes = std::make_shared<const std::vector<std::uint8_t>>(PictureBytes(picture, shape));
        std::lock_guard guard(pictureLock);
        return pictures.emplace(key, bytes).first->second;
    }
};

namespace {

constexpr size_t kMaxRequestHead = 16 * 1024;
// How long an open connection may wait for its next request.
constexpr int kIdleSlices = 100;  // of 100 ms
constexpr size_t kPieceSize = 1024;
constexpr int kMaxOversizedMiB = 4096;

bool SendAll(int socket, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

std::string_view ReasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string Head(int status, std::string_view contentType, std::uint64_t length, std::string_view extra = {},
                 bool keepAlive = false)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + std::string(ReasonOf(status)) + "\r\n";
    head += "Server: vellumry-gallery\r\n";
    if (!contentType.empty())
        head += "Content-Type: " + std::string(contentType) + "\r\n";
    head += "Content-Length: " + std::to_string(length) + "\r\n";
    head += extra;
    head += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    return head;
}

struct Body {
    int status = 404;
    std::string contentType;
    std::string bytes;
};

}  // namespace

void GalleryServer::State::AcceptLoop(const std::shared_ptr<State>& self)
{
    while (!stopping) {
        pollfd waiting{listener, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        int socket = accept(listener, nullptr, nullptr);
        if (socket < 0)
            continue;
        // Head and body go out in separate writes; without this the body
        // would wait for the client's delayed acknowledgement of the head.
        int on = 1;
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        std::lock_guard guard(lock);
        if (stopping) {
            close(socket);
            break;
        }
        openSockets.push_back(socket);
        ++activeConnections;
        // Detached, so that finished connections leave nothing behind; the
        // server's destruction waits for the count to reach 0.
        try {
            std::thread([self, socket] {
                self->ServeConnection(socket);
                // The socket is closed here only, so its number cannot be reused
                // by another connection while this thread still uses it.
                std::lock_guard inner(self->lock);
                std::erase(self->openSockets, socket);
                close(socket);
                --self->activeConnections;
                self->wake.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            // No thread for it: the connection is refused by closing it.
            std::erase(openSockets, socket);
            --activeConnections;
            close(socket);
        }
    }
}

void GalleryServer::State::ServeConnection(int socket)
{
    std::string pending;
    Ending ending = Ending::KeepOpen;
    while (ending == Ending::KeepOpen && !stopping) {
        std::string head = ReadHead(socket, pending);
        if (head.empty())
            break;
        ending = Serve(socket, head);
    }
    if (ending != Ending::Reset)
        LingerAndDrain(socket);
}

std::string GalleryServer::State::ReadHead(int socket, std::string& pending)
{
    char buffer[4096];
    int idle = 0;
    while (pending.find("\r\n\r\n") == std::string::npos && pending.size() < kMaxRequestHead) {
        if (stopping || idle >= kIdleSlices)
            return {};
        pollfd readable{socket, POLLIN, 0};
        int ready = poll(&readable, 1, 100);
        if (ready < 0)
            return {};
        if (ready == 0) {
            ++idle;
            continue;
        }
        ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return {};
        pending.append(buffer, static_cast<size_t>(got));
    }
    size_t end = pending.find("\r\n\r\n");
    // A head that never ends is handed on whole, to be refused.
    size_t length = end == std::string::npos ? pending.size() : end + 4;
    std::string head = pending.substr(0, length);
    pending.erase(0, length);
    return head;
}

Ending GalleryServer::State::Serve(int socket, const std::string& head)
{
    ++requests;
    std::optional<RequestLine> request = ParseRequestHead(head);
    if (!request) {
        SendAll(socket, Head(400, "text/plain", 0));
        return Ending::Close;
    }
    const std::string& method = request->method;
    const std::string& path = request->path;
    {
        std::lock_guard guard(targetLock);
        targets.push_back(path);
    }
    if (method != "GET" && method != "HEAD") {
        SendAll(socket, Head(405, "text/plain", 0));
        return Ending::Close;  // a body it may have sent is not read
    }
    const bool headOnly = method == "HEAD";
    const bool keepAlive = WantsKeepAlive(head);

    // The ordinary answer for a path: a page, a picture or 404.
    auto answer = [this](std::string_view wanted) {
        Body body;
        if (auto page = ParsePagePath(wanted, shape)) {
            body = {200, "text/html; charset=gb2312", PageBytes(*page, Address(), shape)};
        } else if (auto picture = ParsePicturePath(wanted, shape)) {
            auto bytes = Picture(*picture, std::string(wanted));
            body = {200, "image/jpeg", std::string(bytes->begin(), bytes->end())};
        } else {
            body = {404, "text/plain", "not found\n"};
        }
        return body;
    };

    std::optional<FaultPath> fault = ParseFault(path);
    if (!fault) {
        Body body = answer(path);
        if (!SendAll(socket, Head(body.status, body.contentType, body.bytes.size(), {}, keepAlive)) ||
            (!headOnly && !SendAll(socket, body.bytes)))
            return Ending::Close;
        return keepAlive ? Ending::KeepOpen : Ending::Close;
    }
    // Faults answer once and end the connection.
    if (fault->kind == "status") {
        auto code = LeadingNumber(fault->rest);
        int status = code && code->first >= 200 && code->first <= 599 ? code->first : 400;
        std::string text = "status " + std::to_string(status) + "\n";
        SendAll(socket, Head(status, "text/plain", text.size()) + (headOnly ? "" : text));
    } else if (fault->kind == "empty") {
        SendAll(socket, Head(200, "image/jpeg", 0));
    } else if (fault->kind == "redirect-loop") {
        SendAll(socket, Head(302, "text/plain", 0, "Location: " + path + "\r\n"));
    } else if (fault->kind == "oversized") {
        auto size = LeadingNumber(fault->rest);
        int mib = size ? std::clamp(size->first, 1, kMaxOversizedMiB) : 1;
        const std::uint64_t total = static_cast<std::uint64_t>(mib) << 20;
        if (!SendAll(socket, Head(200, "image/jpeg", total)) || headOnly)
            return Ending::Close;
        const std::string zeros(64 * 1024, '\0');
        for (std::uint64_t sent = 0; sent < total && !stopping; sent += zeros.size())
            if (!SendAll(socket, zeros))
                return Ending::Close;  // the client gave up, as it should
    } else if (fault->kind == "slow") {
        auto delay = LeadingNumber(fault->rest);
        Body body = answer(delay ? delay->second : std::string_view());
        if (!SendAll(socket, Head(body.status, body.contentType, body.bytes.size())) || headOnly)
            return Ending::Close;
        const auto interval = std::chrono::milliseconds(delay ? std::max(delay->first, 0) : 100);
        for (size_t at = 0; at < body.bytes.size(); at += kPieceSize) {
            if (!SendAll(socket, std::string_view(body.bytes).substr(at, kPieceSize)))
                return Ending::Close;
            if (at + kPieceSize < body.bytes.size() && !Pause(interval))
                return Ending::Close;
        }
    } else if (fault->kind == "reset" || fault->kind == "truncated") {
        Body body = answer(fault->rest);
        std::string_view half = std::string_view(body.bytes).substr(0, body.bytes.size() / 2);
        SendAll(socket, Head(body.status, body.contentType, body.bytes.size()));
        SendAll(socket, half);
        if (fault->kind == "reset") {
            // A zero linger time makes close send a reset instead of a FIN.
            linger abort{1, 0};
            setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            return Ending::Reset;
        }
    } else {
        SendAll(socket, Head(404, "text/plain", 0));
    }
    return Ending::Close;
}

void GalleryServer::State::LingerAndDrain(int socket)
{
    shutdown(socket, SHUT_WR);
    char buffer[4096];
    for (int waits = 0; waits < 20 && !stopping; ++waits) {
        pollfd readable{socket, POLLIN, 0};
        if (poll(&readable, 1, 100) < 0)
            return;
        if (readable.revents == 0)
            continue;
        if (recv(socket, buffer, sizeof buffer, 0) <= 0)
            return;
    }
}

GalleryServer::GalleryServer(std::uint16_t port, GalleryShape shape) : m_state(std::make_shared<State>())
{
    State& state = *m_state;
    state.shape = shape;
    state.listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (state.listener < 0)
        throw std::runtime_error("cannot make a socket");
    int on = 1;
    setsockopt(state.listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(state.listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(state.listener, 64) != 0 ||
        getsockname(state.listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(state.listener);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    state.port = ntohs(address.sin_port);
    state.acceptor = std::thread([self = m_state] { self->AcceptLoop(self); });
}

GalleryServer::~GalleryServer()
{
    State& state = *m_state;
    {
        std::lock_guard guard(state.lock);
        state.stopping = true;
        // Wakes connection threads blocked in recv or send.
        for (int socket : state.openSockets)
            shutdown(socket, SHUT_RDWR);
    }
    state.wake.notify_all();
    state.acceptor.join();
    {
        std::unique_lock guard(state.lock);
        state.wake.wait(guard, [&state] { return state.activeConnections == 0; });
    }
    close(state.listener);
}

std::uint16_t GalleryServer::Port() const
{
    return m_state->port;
}

const GalleryShape& GalleryServer::Shape() const
{
    return m_state->shape;
}

std::string GalleryServer::Address() const
{
    return m_state->Address();
}

int GalleryServer::RequestCount() const
{
    return m_state->requests;
}

std::vector<std::string> GalleryServer::RequestTargets() const
{
    std::lock_guard guard(m_state->targetLock);
    return m_state->targets;
}

}  // namespace vellumry::gallery
