#pragma once

// libcurl, opened on first use instead of at program start. Linked directly,
// libcurl and the thirty-odd libraries it needs (TLS, HTTP/2, Kerberos, LDAP,
// ...) are mapped and relocated before main runs, which cost a quarter of
// the start of the whole program, although a program makes its first request
// only after its window is up. The functions are looked up once, together;
// the headers give their types.

#include <curl/curl.h>

namespace vellumry::net {

struct CurlApi {
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_easy_reset) easy_reset;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_cleanup) multi_cleanup;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_timeout) multi_timeout;
    decltype(&::curl_multi_info_read) multi_info_read;
    decltype(&::curl_multi_wakeup) multi_wakeup;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_url) url;
    decltype(&::curl_url_cleanup) url_cleanup;
    decltype(&::curl_url_get) url_get;
    decltype(&::curl_url_set) url_set;
    decltype(&::curl_free) free;
};

// Opens libcurl and runs its global set-up, once for the process; false
// when the library or one of its functions is missing (then every transfer
// fails). Any thread.
bool EnsureCurlInitialized();

// libcurl's functions. Only after EnsureCurlInitialized answered true, or on
// a handle that libcurl made.
const CurlApi& Curl();

// A function of libcurl or of a library it loaded (its TLS library), or
// null. Only after EnsureCurlInitialized answered true.
void* CurlLibrarySymbol(const char* name);

}  // namespace vellumry::net
