#include "tests/web/RequestTestSupport.h"

#include <chrono>

#include "platform/net/TransferAbort.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::test {
namespace {

std::atomic<bool> g_stopRequested{false};

bool StopRequested()
{
    return g_stopRequested.load();
}

}  // namespace

std::string Str(const runtime::OwnedText& text)
{
    return std::string(runtime::TextView(text.get()));
}

std::string Bytes(const runtime::OwnedByteSet& bytes)
{
    auto view = runtime::ByteSetBytes(bytes.get());
    return std::string(view.begin(), view.end());
}

runtime::OwnedText Text(std::string_view text)
{
    return runtime::OwnedText(runtime::MakeTextOrNull(text));
}

std::string FaultAddress(Fault fault, std::unique_ptr<LoopbackHttpServer>& server)
{
    if (fault == Fault::ConnectionRefused)
        return "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/f";
    server = std::make_unique<LoopbackHttpServer>([fault](const ServedRequest&) { return FaultReply(fault); });
    return server->Url("/loop");
}

StopOnFirstRequest::StopOnFirstRequest(const LoopbackHttpServer& server)
{
    g_stopRequested = false;
    net::SetTransferAbortPredicate(&StopRequested);
    m_stopper = std::thread([&server] {
        while (server.Requests().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        g_stopRequested = true;
        net::WakeTransfers();
    });
}

StopOnFirstRequest::~StopOnFirstRequest()
{
    Join();
    net::SetTransferAbortPredicate(nullptr);
    g_stopRequested = false;
}

void StopOnFirstRequest::Join()
{
    if (m_stopper.joinable())
        m_stopper.join();
}

}  // namespace vellumry::test
