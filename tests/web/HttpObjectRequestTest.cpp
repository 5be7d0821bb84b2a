#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/AutomationCalls.h"
#include "automation/AutomationError.h"
#include "platform/com/Apartment.h"
#include "platform/com/ClassRegistry.h"
#include "platform/net/HttpTransfer.h"
#include "platform/net/TransferLimits.h"
#include "platform/winhttp/WinHttpRequestComponent.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/AutomationSetup.h"
#include "tests/support/FaultReplies.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestCertificate.h"
#include "tests/web/RecordingRequestObject.h"
#include "tests/web/RequestTestSupport.h"
#include "tests/web/WinInetCommandTable.h"
#include "web/ComInit.h"
#include "web/HttpObjectRequest.h"

namespace {

using namespace vellumry;
using runtime::OwnedByteSet;
using runtime::OwnedText;
using test::LoopbackHttpServer;
using test::Respond;
using test::ServedRequest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using test::Bytes;
using test::Str;
using test::Text;

constexpr const char* kAgent = test::kDefaultAgent;

class HttpObjectRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::InstallAutomationForTests();
        winhttp::RegisterWinHttpRequestComponent();
        test::InstallWinInetCommandTable();
        net::DropIdleConnections();
    }
    void TearDown() override
    {
        EXPECT_EQ(com::ApartmentInitializations(), 0) << "every ComInit was paired";
        test::RestoreRequestComponent();
        test::RemoveWinInetCommandTable();
        net::DropIdleConnections();
    }

    // The calls between Open and Send.
    static std::vector<std::string> HeaderCalls()
    {
        std::vector<std::string> calls;
        for (const std::string& entry : test::RequestObjectLog())
            if (entry.starts_with("SetRequestHeader"))
                calls.push_back(entry);
        return calls;
    }
};

TEST_F(HttpObjectRequestTest, AddressAloneDrivesTheComponentInOrder)
{
    test::RecordRequestObject({200, "X: 1\r\n\r\n", "picture bytes"});
    std::string address = "http://pics.example/1.jpg";
    OwnedByteSet body = web::HttpObjectRequest(address.c_str());
    EXPECT_EQ(Bytes(body), "picture bytes");
    EXPECT_THAT(test::RequestObjectLog(),
                ElementsAre("SetTimeouts 15000 15000 15000 15000", "Open GET " + address + " [0]", "Option 4 = [13056]",
                            "SetRequestHeader [Accept] [*/*]", "SetRequestHeader [Referer] [" + address + "]",
                            "SetRequestHeader [Accept-Language] [zh-cn]",
                            "SetRequestHeader [User-Agent] [" + std::string(kAgent) + "]", "Send []", "ResponseBody",
                            "GetAllResponseHeaders", "Status"));
    EXPECT_EQ(test::LiveRequestObjects(), 0) << "the routine's object is released";
}

struct TimeoutRow {
    const char* label;
    std::optional<std::int32_t> timeout;
    const char* call;  // null: no SetTimeouts call
};

class RequestTimeouts : public HttpObjectRequestTest, public ::testing::WithParamInterface<TimeoutRow> {};

TEST_P(RequestTimeouts, SetAllFourInMilliseconds)
{
    test::RecordRequestObject();
    web::HttpObjectRequest("http://pics.example/", {.timeout = GetParam().timeout});
    std::vector<std::string> log = test::RequestObjectLog();
    if (GetParam().call == nullptr)
        EXPECT_THAT(log, Not(Contains(HasSubstr("SetTimeouts"))));
    else
        EXPECT_EQ(log.front(), GetParam().call);
}

INSTANTIATE_TEST_SUITE_P(Seconds, RequestTimeouts,
                         ::testing::Values(TimeoutRow{"Thirty", 30, "SetTimeouts 30000 30000 30000 30000"},
                                           TimeoutRow{"MinusOneKeepsTheComponents", -1, nullptr},
                                           TimeoutRow{"Zero", 0, "SetTimeouts 15000 15000 15000 15000"},
                                           TimeoutRow{"Negative", -5, "SetTimeouts 15000 15000 15000 15000"},
                                           TimeoutRow{"Huge", 3000000,
                                                      "SetTimeouts 2147483647 2147483647 2147483647 2147483647"}),
                         [](const auto& info) { return std::string(info.param.label); });

struct ProxyRow {
    const char* label;
    const char* proxy;
    const char* user;
    const char* password;
    std::optional<std::int32_t> mode;
    std::vector<std::string> calls;  // SetProxy and Proxy-Authorization calls
};

class ProxyCredentials : public HttpObjectRequestTest, public ::testing::WithParamInterface<ProxyRow> {};

TEST_P(ProxyCredentials, GoOnlyWithAUserAndModeOne)
{
    const ProxyRow& row = GetParam();
    test::RecordRequestObject();
    web::HttpObjectRequest("http://pics.example/",
                           {.proxy = row.proxy, .proxyUser = row.user, .proxyPassword = row.password, .proxyAuthMode = row.mode});
    std::vector<std::string> calls;
    for (const std::string& entry : test::RequestObjectLog())
        if (entry.starts_with("SetProxy") || entry.find("Proxy-Authorization") != std::string::npos ||
            entry.starts_with("Open"))
            calls.push_back(entry);
    EXPECT_EQ(calls, row.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Proxies, ProxyCredentials,
    ::testing::Values(
        ProxyRow{"NoProxy", nullptr, "u", "p", {}, {"Open GET http://pics.example/ [0]"}},
        ProxyRow{"EmptyUser", "127.0.0.1:3128", "", "p", {}, {"SetProxy 2 [127.0.0.1:3128]", "Open GET http://pics.example/ [0]"}},
        ProxyRow{"ModeTwo", "127.0.0.1:3128", "u", "p", 2, {"SetProxy 2 [127.0.0.1:3128]", "Open GET http://pics.example/ [0]"}},
        // The credentials go once the request is open.
        ProxyRow{"UserAndPassword",
                 "127.0.0.1:3128",
                 "user",
                 "pass",
                 {},
                 {"SetProxy 2 [127.0.0.1:3128]", "Open GET http://pics.example/ [0]",
                  "SetRequestHeader [Proxy-Authorization] [Basic dXNlcjpwYXNz]"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(HttpObjectRequestTest, PostNamesALowerCaseContentTypeOnce)
{
    test::RecordRequestObject();
    OwnedText headers = Text("content-type: text/plain");
    web::HttpObjectRequest("http://pics.example/p", {.method = web::kMethodPost, .postText = "a=1", .headers = &headers});
    EXPECT_THAT(HeaderCalls(), ElementsAre("SetRequestHeader [Content-Type] [text/plain]", "SetRequestHeader [Accept] [*/*]",
                                           "SetRequestHeader [Referer] [http://pics.example/p]",
                                           "SetRequestHeader [Accept-Language] [zh-cn]",
                                           "SetRequestHeader [User-Agent] [" + std::string(kAgent) + "]"));
    EXPECT_THAT(Str(headers), ::testing::StartsWith("Content-Type: text/plain\r\nAccept: */*"));
    EXPECT_THAT(test::RequestObjectLog(), Contains("Send [a=1]"));
}

TEST_F(HttpObjectRequestTest, HeaderBlocksWithAndWithoutLineBreaks)
{
    test::RecordRequestObject();
    // One line that already names every default: it stays one line.
    OwnedText one = Text("X: Accept: Referer: Accept-Language: User-Agent: R");
    web::HttpObjectRequest("http://pics.example/", {.headers = &one});
    EXPECT_THAT(HeaderCalls(), ElementsAre("SetRequestHeader [X] [Accept: Referer: Accept-Language: User-Agent: R]"));

    // A block ending in CR LF gives no empty header call.
    test::RecordRequestObject();
    OwnedText block = Text("Accept: a\r\nReferer: r\r\nAccept-Language: l\r\nUser-Agent: u\r\n");
    web::HttpObjectRequest("http://pics.example/", {.headers = &block});
    EXPECT_THAT(HeaderCalls(), ElementsAre("SetRequestHeader [Accept] [a]", "SetRequestHeader [Referer] [r]",
                                           "SetRequestHeader [Accept-Language] [l]", "SetRequestHeader [User-Agent] [u]"));
}

TEST_F(HttpObjectRequestTest, EmptyCookiesGivenStillSetTheCookieHeader)
{
    test::RecordRequestObject({200, "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n", ""});
    OwnedText cookies;
    OwnedText returned;
    web::HttpObjectRequest("http://pics.example/", {.cookies = &cookies, .returnedCookies = &returned});
    EXPECT_EQ(HeaderCalls().front(), "SetRequestHeader [Cookie] []");
    EXPECT_EQ(Str(returned), "a=1; b=2");
    EXPECT_EQ(Str(cookies), "a=1; b=2") << "merged into the empty text given";
}

TEST_F(HttpObjectRequestTest, ReturnedCookiesMergeIntoTheGivenOnes)
{
    test::RecordRequestObject({200, "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n", ""});
    OwnedText cookies = Text("b=0; c=3");
    OwnedText returned;
    OwnedText responseHeaders;
    std::int32_t status = 0;
    web::HttpObjectRequest("http://pics.example/", {.cookies = &cookies,
                                                    .returnedCookies = &returned,
                                                    .responseHeaders = &responseHeaders,
                                                    .status = &status});
    EXPECT_EQ(Str(returned), "a=1; b=2; c=3");
    EXPECT_EQ(Str(cookies), "a=1; b=2; c=3");
    EXPECT_EQ(Str(responseHeaders), "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n");
    EXPECT_EQ(status, 200);
}

// The status is truncated toward zero like any number the runtime converts;
// one beyond the 32-bit range, or not a number, gives the integer indefinite.
TEST_F(HttpObjectRequestTest, StatusIsTruncatedAsTheRuntimeTruncates)
{
    const std::pair<double, std::int32_t> rows[] = {
        {404.9, 404}, {-1.5, -1}, {1e10, INT32_MIN}, {-1e300, INT32_MIN}, {std::nan(""), INT32_MIN}};
    for (auto [answer, stored] : rows) {
        test::RecordRequestObject({answer, "", ""});
        std::int32_t status = 77;
        web::HttpObjectRequest("http://pics.example/", {.status = &status});
        EXPECT_EQ(status, stored) << "Status " << answer;
    }
}

TEST_F(HttpObjectRequestTest, MethodsOutsideTheTableOpenAGet)
{
    for (int method : {9, -1}) {
        test::RecordRequestObject();
        web::HttpObjectRequest("http://pics.example/", {.method = method});
        EXPECT_THAT(test::RequestObjectLog(), Contains("Open GET http://pics.example/ [0]"));
    }
}

TEST_F(HttpObjectRequestTest, BytesAreSentAsAByteArray)
{
    test::RecordRequestObject();
    std::string data = "raw";
    OwnedByteSet postBytes(runtime::MakeByteSet({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}));
    web::HttpObjectRequest("http://pics.example/", {.method = 3, .postText = "ignored", .postBytes = postBytes.get()});
    EXPECT_THAT(test::RequestObjectLog(), Contains("Send bytes[raw]"));
}

TEST_F(HttpObjectRequestTest, CallersObjectIsUsedAndKept)
{
    test::RecordRequestObject();
    using namespace automation::calls;
    OwnedObject object = NewObject();
    web::ComInit();
    ASSERT_TRUE(CreateObject(object.get(), "WinHttp.WinHttpRequest.5.1"));
    web::HttpObjectRequest("http://pics.example/", {.requestObject = object.get()});
    EXPECT_FALSE(IsEmptyObject(object.get()));
    EXPECT_EQ(test::LiveRequestObjects(), 1) << "no other object was made";
    object.reset();
    EXPECT_EQ(test::LiveRequestObjects(), 0);
    web::ComUninit();
}

TEST_F(HttpObjectRequestTest, WithoutTheComponentNothingIsTouched)
{
    com::UnregisterComClass(winhttp::kWinHttpRequestClassId);
    OwnedText headers = Text("X: 1");
    OwnedText responseHeaders = Text("untouched");
    std::int32_t status = 77;
    OwnedByteSet body =
        web::HttpObjectRequest("http://pics.example/", {.headers = &headers, .responseHeaders = &responseHeaders, .status = &status});
    EXPECT_EQ(body, nullptr);
    EXPECT_EQ(Str(headers), "X: 1");
    EXPECT_EQ(Str(responseHeaders), "untouched");
    EXPECT_EQ(status, 77);
}

// The real component against the loopback server.

TEST_F(HttpObjectRequestTest, PictureRequestSendsTheDefaultLines)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "JPEG", {"X-Served: yes"}); });
    std::string address = server.Url("/pics/1.jpg");
    OwnedText responseHeaders;
    std::int32_t status = 0;
    OwnedByteSet body = web::HttpObjectRequest(address.c_str(), {.responseHeaders = &responseHeaders, .status = &status});
    EXPECT_EQ(Bytes(body), "JPEG");
    EXPECT_EQ(status, 200);
    EXPECT_EQ(Str(responseHeaders), "X-Served: yes\r\nContent-Length: 4\r\n\r\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Raw(), "GET /pics/1.jpg HTTP/1.1\r\n"
                                          "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n"
                                          "Accept-Encoding: gzip, deflate\r\n"
                                          "Accept: */*\r\n"
                                          "Referer: " + address + "\r\n"
                                          "Accept-Language: zh-cn\r\n"
                                          "User-Agent: " + std::string(kAgent) + "\r\n"
                                          "\r\n");
}

TEST_F(HttpObjectRequestTest, ProxyGetsTheCredentials)
{
    LoopbackHttpServer proxy([](const ServedRequest&) { return Respond(200, "proxied"); });
    std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());
    OwnedByteSet body = web::HttpObjectRequest(
        "http://pics.invalid/2.jpg", {.proxy = proxyAddress.c_str(), .proxyUser = "user", .proxyPassword = "pass"});
    EXPECT_EQ(Bytes(body), "proxied");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].RequestLine(), "GET http://pics.invalid/2.jpg HTTP/1.1");
    EXPECT_EQ(proxy.Requests()[0].Header("Proxy-Authorization"), "Basic dXNlcjpwYXNz");
}

TEST_F(HttpObjectRequestTest, PostCarriesOneContentType)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    OwnedText headers = Text("content-type: text/plain");
    web::HttpObjectRequest(server.Url("/form").c_str(), {.method = web::kMethodPost, .postText = "a=1", .headers = &headers});
    ASSERT_EQ(server.Requests().size(), 1u);
    ServedRequest request = server.Requests()[0];
    EXPECT_EQ(request.RequestLine(), "POST /form HTTP/1.1");
    EXPECT_THAT(request.head, HasSubstr("\r\nContent-Type: text/plain\r\n"));
    EXPECT_EQ(request.head.find("ontent-Type"), request.head.rfind("ontent-Type")) << request.head;
    EXPECT_EQ(request.body, "a=1");
}

TEST_F(HttpObjectRequestTest, SelfSignedPictureHostIsFetched)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "secure picture"); },
                              test::MakeServerContext({.name = "elsewhere.invalid", .expired = true}));
    EXPECT_EQ(Bytes(web::HttpObjectRequest(server.Url("/3.jpg").c_str())), "secure picture");
}

TEST_F(HttpObjectRequestTest, ReusedObjectKeepsItsCookiesAndConnection)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /login"))
            return Respond(200, "", {"Set-Cookie: session=42; Path=/"});
        return Respond(200, request.Header("Cookie"));
    });
    using namespace automation::calls;
    web::ComInit();
    OwnedObject object = NewObject();
    ASSERT_TRUE(CreateObject(object.get(), "WinHttp.WinHttpRequest.5.1"));
    web::HttpObjectRequest(server.Url("/login").c_str(), {.requestObject = object.get()});
    EXPECT_EQ(Bytes(web::HttpObjectRequest(server.Url("/page").c_str(), {.requestObject = object.get()})), "session=42");
    EXPECT_EQ(Bytes(web::HttpObjectRequest(server.Url("/page").c_str())), "") << "a fresh object has no cookies";
    EXPECT_EQ(server.ConnectionCount(), 1) << "one connection served all three";
    object.reset();
    web::ComUninit();
}

TEST_F(HttpObjectRequestTest, RedirectsAreFollowedUnlessAskedNotTo)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /old"))
            return Respond(301, "moved", {"Location: /new"});
        return Respond(200, "new");
    });
    std::int32_t status = 0;
    EXPECT_EQ(Bytes(web::HttpObjectRequest(server.Url("/old").c_str(), {.status = &status})), "new");
    EXPECT_EQ(status, 200);
    EXPECT_EQ(Bytes(web::HttpObjectRequest(server.Url("/old").c_str(), {.status = &status, .noRedirect = true})), "moved");
    EXPECT_EQ(status, 301);
}

class HttpObjectRequestFault : public HttpObjectRequestTest, public ::testing::WithParamInterface<test::Fault> {
protected:
    void SetUp() override
    {
        HttpObjectRequestTest::SetUp();
        net::SetBodyCap(1 << 20);
    }
    void TearDown() override
    {
        net::SetBodyCap(net::kDefaultBodyCap);
        HttpObjectRequestTest::TearDown();
    }
};

TEST_P(HttpObjectRequestFault, EndsWithTheEmptyBody)
{
    test::Fault fault = GetParam();
    std::unique_ptr<LoopbackHttpServer> server;
    std::string address = test::FaultAddress(fault, server);
    OwnedText responseHeaders = Text("old");
    std::int32_t status = 77;
    OwnedByteSet body =
        web::HttpObjectRequest(address.c_str(), {.responseHeaders = &responseHeaders, .status = &status, .timeout = 2});
    EXPECT_EQ(body, nullptr) << Bytes(body).size() << " bytes came back";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Str(responseHeaders), "");
    EXPECT_NE(automation::AutomationError(), automation::kAutomationOk);
}

INSTANTIATE_TEST_SUITE_P(Servers, HttpObjectRequestFault,
                         ::testing::ValuesIn(test::kServerFaults),
                         [](const auto& info) { return std::string(test::FaultName(info.param)); });

TEST_F(HttpObjectRequestTest, StopAbortsThePictureRequest)
{
    LoopbackHttpServer server([](const ServedRequest&) { return test::FaultReply(test::Fault::Silent); });
    test::StopOnFirstRequest stop(server);
    // The default 15 seconds are far beyond the stop.
    OwnedByteSet body = web::HttpObjectRequest(server.Url("/stop.jpg").c_str());
    stop.Join();
    EXPECT_EQ(body, nullptr);
}

}  // namespace
