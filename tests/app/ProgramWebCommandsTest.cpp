#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/ProgramWiring.h"
#include "app/description/DllCommandTable.h"
#include "runtime/DllCommands.h"
#include "tests/support/LoopbackHttpServer.h"
#include "platform/com/Apartment.h"
#include "platform/kernel/ThreadApi.h"
#include "tests/support/FaultReplies.h"
#include "web/HttpObjectRequest.h"
#include "web/InetRequest.h"

namespace {

using namespace vellumry;

// The requests go through the program's own DLL command table: its entries
// 12 to 19 must reach the WinINet stand-in with the function types the page
// routine declares, and the picture routine must find its component.
TEST(ProgramWebCommands, RequestsGoThroughTheProgramsCommandsAndComponents)
{
    app::WireProgram();
    runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
    test::LoopbackHttpServer server([](const test::ServedRequest&) { return test::Respond(200, "gallery page"); });

    // A GET sends its data as a text, a POST as a byte-set: both declarations
    // of HttpSendRequestA are used.
    for (web::RequestMethod method : {web::kMethodGet, web::kMethodPost}) {
        runtime::OwnedByteSet body = web::InetRequest(server.Url("/p_1.shtml").c_str(), {.method = method});
        auto bytes = runtime::ByteSetBytes(body.get());
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "gallery page");
    }
    for (std::int32_t index = app::kInternetOpenA; index <= app::kHttpQueryInfoA; ++index)
        EXPECT_NE(runtime::DllCommandModule(index), nullptr) << "command " << index;

    // The picture request goes through the program's component-model commands
    // and its registered request component.
    runtime::OwnedByteSet picture = web::HttpObjectRequest(server.Url("/pics/1.jpg").c_str());
    auto pictureBytes = runtime::ByteSetBytes(picture.get());
    EXPECT_EQ(std::string(pictureBytes.begin(), pictureBytes.end()), "gallery page");
    EXPECT_EQ(com::ApartmentInitializations(), 0);
    runtime::UnloadDllCommands();
}

// A worker stopped while its page request waits on a server that never
// answers ends at once, not after the 30-second receive time-out: the program
// ties the transfers to the thread stop.
DWORD RequestFromSilentServer(LPVOID address)
{
    web::InetRequest(static_cast<const char*>(address));
    return 0;
}

TEST(ProgramWebCommands, AStoppedWorkersRequestEndsAtOnce)
{
    app::WireProgram();
    runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
    test::LoopbackHttpServer server([](const test::ServedRequest&) { return test::FaultReply(test::Fault::Silent); });
    const std::string address = server.Url("/p_1.shtml");

    HANDLE worker = CreateThread(nullptr, 0, &RequestFromSilentServer, const_cast<char*>(address.c_str()), 0, nullptr);
    ASSERT_NE(worker, nullptr);
    for (int i = 0; i < 1000 && server.Requests().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(server.Requests().empty());

    ASSERT_TRUE(TerminateThread(worker, 5));
    ASSERT_TRUE(vellumry::kernel::WaitForThreadEnd(worker, std::chrono::seconds(10)));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(worker, &code));
    EXPECT_EQ(code, 5u);
    runtime::UnloadDllCommands();
}

}  // namespace
