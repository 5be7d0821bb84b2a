#pragma once

// What the tests of both request routines share: runtime values as plain
// strings, the servers whose faults each routine must survive, and a stop
// that comes while a request waits.

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/HeapOwner.h"
#include "tests/support/FaultReplies.h"
#include "tests/support/LoopbackHttpServer.h"

namespace vellumry::test {

inline constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string Str(const runtime::OwnedText& text);
std::string Bytes(const runtime::OwnedByteSet& bytes);
runtime::OwnedText Text(std::string_view text);

// Every fault of FaultReplies.h; each must end a request with the empty body.
inline constexpr Fault kServerFaults[] = {Fault::ConnectionRefused, Fault::ResetMidBody, Fault::TruncatedBody,
                                          Fault::RedirectLoop,      Fault::RedirectToFile, Fault::EndlessBody,
                                          Fault::GzipBomb,          Fault::Silent,       Fault::Drip};

// The address to ask for a server with the fault, started in `server`; for
// ConnectionRefused no server is started and the address names a closed
// port.
std::string FaultAddress(Fault fault, std::unique_ptr<LoopbackHttpServer>& server);

// While it lives, the transfers' abort predicate turns true once `server`
// has seen its first request, and the waiting transfers are woken. The
// predicate is removed when it ends.
class StopOnFirstRequest {
public:
    explicit StopOnFirstRequest(const LoopbackHttpServer& server);
    ~StopOnFirstRequest();
    StopOnFirstRequest(const StopOnFirstRequest&) = delete;
    StopOnFirstRequest& operator=(const StopOnFirstRequest&) = delete;

    // Waits until the stop has been given.
    void Join();

private:
    std::thread m_stopper;
};

}  // namespace vellumry::test
