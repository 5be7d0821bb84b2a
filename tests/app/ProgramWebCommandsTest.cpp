#include <gtest/gtest.h>

#include <string>

#include "app/ProgramWiring.h"
#include "app/description/DllCommandTable.h"
#include "runtime/DllCommands.h"
#include "tests/support/LoopbackHttpServer.h"
#include "platform/com/Apartment.h"
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

}  // namespace
