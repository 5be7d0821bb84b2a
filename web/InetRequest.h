#pragma once

// One complete HTTP or HTTPS exchange through the Internet functions
// (WinINet, called as the program's DLL commands): the gallery page parser
// fetches every page with it, giving the address only.
//
// Every argument after the address is optional. In/out and out arguments
// point to the caller's variables (null: not given); the routine writes new
// values into them, which the variables then own. Whether the caller gave
// `cookies` matters even when it is empty. Failures are not reported: a
// request that cannot be made gives the empty body.
//
// Blocking; any thread.

#include <optional>

#include "runtime/HeapOwner.h"
#include "web/RequestMethod.h"

namespace vellumry::web {

struct InetRequestArguments {
    std::optional<RequestMethod> method = {};         // default 0, GET
    const char* postText = nullptr;                   // data to send when postBytes is empty
    runtime::OwnedText* cookies = nullptr;            // in/out: cookies to send
    runtime::OwnedText* returnedCookies = nullptr;    // out: cookies the server set
    runtime::OwnedText* headers = nullptr;            // in/out: extra lines; receives the block sent
    runtime::OwnedText* responseHeaders = nullptr;    // out: the raw response headers
    std::optional<bool> noRedirect = {};              // default false
    runtime::OwnedByteSet* postBytes = nullptr;       // in/out: data to send
    const char* proxy = nullptr;                      // empty or null: direct
    std::optional<bool> mergeCookies = {};            // default true
};

// The response body; empty when the request failed or had none.
runtime::OwnedByteSet InetRequest(const char* address, const InetRequestArguments& arguments = {});

}  // namespace vellumry::web
