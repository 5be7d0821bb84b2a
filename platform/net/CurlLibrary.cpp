#include "platform/net/private/CurlLibrary.h"

#include "platform/net/HttpTransfer.h"

#include <dlfcn.h>

#include <cassert>
#include <thread>

namespace vellumry::net {
namespace {

// The OpenSSL build of libcurl, the one whose certificate hooks the
// certificate check relies on.
constexpr const char* kCurlLibrary = "libcurl.so.4";

struct LoadedCurl {
    void* module = nullptr;
    CurlApi api{};
    bool ready = false;
};

template <typename Function>
bool Resolve(void* module, const char* name, Function& target)
{
    target = reinterpret_cast<Function>(dlsym(module, name));
    return target != nullptr;
}

LoadedCurl Load()
{
    LoadedCurl loaded;
    // Kept open for the life of the process: handles and callbacks may
    // outlive any one user, and libcurl's global clean-up is not thread-safe.
    loaded.module = dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    if (loaded.module == nullptr)
        return loaded;
    void* m = loaded.module;
    CurlApi& a = loaded.api;
    bool all = Resolve(m, "curl_global_init", a.global_init) && Resolve(m, "curl_easy_init", a.easy_init) &&
               Resolve(m, "curl_easy_cleanup", a.easy_cleanup) && Resolve(m, "curl_easy_reset", a.easy_reset) &&
               Resolve(m, "curl_easy_setopt", a.easy_setopt) && Resolve(m, "curl_easy_getinfo", a.easy_getinfo) &&
               Resolve(m, "curl_multi_init", a.multi_init) && Resolve(m, "curl_multi_cleanup", a.multi_cleanup) &&
               Resolve(m, "curl_multi_add_handle", a.multi_add_handle) &&
               Resolve(m, "curl_multi_remove_handle", a.multi_remove_handle) &&
               Resolve(m, "curl_multi_perform", a.multi_perform) && Resolve(m, "curl_multi_poll", a.multi_poll) &&
               Resolve(m, "curl_multi_timeout", a.multi_timeout) &&
               Resolve(m, "curl_multi_info_read", a.multi_info_read) &&
               Resolve(m, "curl_multi_wakeup", a.multi_wakeup) && Resolve(m, "curl_slist_append", a.slist_append) &&
               Resolve(m, "curl_slist_free_all", a.slist_free_all) && Resolve(m, "curl_url", a.url) &&
               Resolve(m, "curl_url_cleanup", a.url_cleanup) && Resolve(m, "curl_url_get", a.url_get) &&
               Resolve(m, "curl_url_set", a.url_set) && Resolve(m, "curl_free", a.free);
    if (!all)
        return loaded;
    // The global set-up starts the TLS library, which keeps error state for
    // the thread that starts it until that thread ends. Run on a thread of
    // its own, that state goes with it, instead of staying with a worker
    // that may be stopped and outlive the program's end.
    CURLcode code = CURLE_FAILED_INIT;
    std::thread([&] { code = a.global_init(CURL_GLOBAL_DEFAULT); }).join();
    loaded.ready = code == CURLE_OK;
    return loaded;
}

const LoadedCurl& Loaded()
{
    static const LoadedCurl loaded = Load();
    return loaded;
}

}  // namespace

bool EnsureCurlInitialized()
{
    return Loaded().ready;
}

bool PrepareTransfers()
{
    return EnsureCurlInitialized();
}

const CurlApi& Curl()
{
    assert(Loaded().ready && "libcurl is used before EnsureCurlInitialized succeeded");
    return Loaded().api;
}

void* CurlLibrarySymbol(const char* name)
{
    const LoadedCurl& loaded = Loaded();
    return loaded.ready ? dlsym(loaded.module, name) : nullptr;
}

}  // namespace vellumry::net
