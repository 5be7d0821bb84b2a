#pragma once

// One complete HTTP or HTTPS exchange through the Windows HTTP request
// component ("WinHttp.WinHttpRequest.5.1"), driven by name through the
// automation commands: the download worker fetches every picture with it,
// giving the address only.
//
// Every argument after the address is optional. In/out and out arguments
// point to the caller's variables (null: not given); the routine writes new
// values into them, which the variables then own. Whether the caller gave
// `cookies` matters even when it is empty. A failed automation call yields
// the empty value of its kind and the routine goes on; the code of the last
// one stays in the thread's AutomationError.
//
// Brackets its work with ComInit and ComUninit on the calling thread.
// Blocking; any thread.

#include <cstdint>
#include <optional>

#include "automation/ObjectHolder.h"
#include "runtime/HeapOwner.h"
#include "web/RequestMethod.h"

namespace vellumry::web {

struct HttpObjectRequestArguments {
    std::optional<RequestMethod> method = {};            // default 0, GET
    const char* postText = nullptr;                      // data to send when postBytes is empty
    runtime::OwnedText* cookies = nullptr;               // in/out: cookies to send
    runtime::OwnedText* returnedCookies = nullptr;       // out: cookies the server set
    runtime::OwnedText* headers = nullptr;               // in/out: extra lines; receives the block
    runtime::OwnedText* responseHeaders = nullptr;       // out: all response headers
    std::int32_t* status = nullptr;                      // out: the HTTP status code
    std::optional<bool> noRedirect = {};                 // default false
    const void* postBytes = nullptr;                     // a byte-set: data to send
    const char* proxy = nullptr;                         // empty or null: none
    std::optional<std::int32_t> timeout = {};            // seconds; -1 keeps the component's; below 1: 15
    const char* proxyUser = nullptr;
    const char* proxyPassword = nullptr;
    std::optional<std::int32_t> proxyAuthMode = {};      // default 1; only 1 sends credentials
    automation::ObjectHolder* requestObject = nullptr;   // an object to use instead of a new one
    std::optional<bool> mergeCookies = {};               // default true
};

// The response body; empty when the request failed or had none.
runtime::OwnedByteSet HttpObjectRequest(const char* address, const HttpObjectRequestArguments& arguments = {});

}  // namespace vellumry::web
