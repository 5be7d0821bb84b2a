#pragma once

// A store of cookies that outlives single transfers: WinINet's process-wide
// store, or the one a request object keeps for itself. Transfers do not share
// a curl cookie engine across threads (libcurl does not support that);
// instead a transfer loads a snapshot of the jar into its own handle before
// it starts and hands back what the handle holds afterwards. Update applies
// only what that transfer changed, cookie by cookie, so two transfers
// running at once do not undo each other's cookies.
//
// Cookies are kept as the lines of libcurl's cookie list (the Netscape cookie
// file format), keyed by domain, path and name. Locked; any thread.

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vellumry::net {

class CookieJar {
public:
    std::vector<std::string> Snapshot() const;

    // `before` is the snapshot a transfer started from, `after` what its
    // handle held when it ended: cookies it added or changed are stored,
    // cookies it dropped (expired or deleted by a server) are removed unless
    // another transfer has changed them meanwhile.
    void Update(const std::vector<std::string>& before, const std::vector<std::string>& after);

    void Clear();
    bool Empty() const;

private:
    mutable std::mutex m_lock;
    std::map<std::string, std::string> m_cookies;  // key -> line
};

// WinINet's store, used by every request that does not ask for no cookies.
CookieJar& ProcessCookieStore();

}  // namespace vellumry::net
