#pragma once

// The objects behind WinINet's HINTERNET handles: a session (InternetOpenA),
// a connection (InternetConnectA) and a request (HttpOpenRequestA), each
// holding its parent, so closing a parent handle never leaves a child
// dangling. Handle values are never 0 and never handed out twice. The table
// is locked; any thread.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/net/HttpTransfer.h"
#include "platform/net/ProxyList.h"
#include "platform/net/WinInet.h"

namespace vellumry::net {

class InternetObject {
public:
    virtual ~InternetObject() = default;

    // The time-outs the object's children start from; InternetSetOptionA
    // changes them.
    TransferTimeouts Timeouts() const;
    void SetTimeouts(const TransferTimeouts& timeouts);

protected:
    explicit InternetObject(const TransferTimeouts& timeouts) : m_timeouts(timeouts) {}

private:
    mutable std::mutex m_lock;
    TransferTimeouts m_timeouts;
};

class InternetSession : public InternetObject {
public:
    InternetSession(const TransferTimeouts& timeouts, std::string agent, ProxyList proxies)
        : InternetObject(timeouts), agent(std::move(agent)), proxies(std::move(proxies))
    {
    }
    const std::string agent;
    const ProxyList proxies;
};

class InternetConnection : public InternetObject {
public:
    InternetConnection(std::shared_ptr<InternetSession> session, std::string host, WORD port, std::string user,
                       std::string password)
        : InternetObject(session->Timeouts()), session(std::move(session)), host(std::move(host)), port(port),
          user(std::move(user)), password(std::move(password))
    {
    }
    const std::shared_ptr<InternetSession> session;
    const std::string host;
    const WORD port;  // 0: the default port of the request's scheme
    const std::string user;
    const std::string password;
};

class InternetRequest : public InternetObject {
public:
    InternetRequest(std::shared_ptr<InternetConnection> connection, std::string verb, std::string url,
                    bool http10, std::vector<std::string> headers, DWORD flags)
        : InternetObject(connection->Timeouts()), connection(std::move(connection)), verb(std::move(verb)),
          url(std::move(url)), http10(http10), headers(std::move(headers)), flags(flags)
    {
    }
    const std::shared_ptr<InternetConnection> connection;
    const std::string verb;
    const std::string url;
    const bool http10;
    const std::vector<std::string> headers;  // from the referrer and the accepted types
    const DWORD flags;

    // The outcome of the last send, and how much of its body has been read.
    // Guarded by `lock`, which a send holds for the whole transfer.
    std::mutex lock;
    bool sent = false;
    TransferResult result;
    std::size_t readOffset = 0;
};

HINTERNET InsertInternetHandle(std::shared_ptr<InternetObject> object);
std::shared_ptr<InternetObject> LookupInternetHandle(HINTERNET handle);
bool RemoveInternetHandle(HINTERNET handle);

// The global time-outs new sessions start from.
TransferTimeouts DefaultInternetTimeouts();
void SetDefaultInternetTimeouts(const TransferTimeouts& timeouts);

}  // namespace vellumry::net
