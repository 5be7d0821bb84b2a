#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/net/CookieJar.h"
#include "platform/net/TransferLimits.h"
#include "platform/net/WinInet.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/FaultReplies.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/web/RecordingWinInet.h"
#include "tests/web/RequestTestSupport.h"
#include "tests/web/WinInetCommandTable.h"
#include "web/InetRequest.h"

namespace {

using namespace vellumry;
using runtime::OwnedByteSet;
using runtime::OwnedText;
using test::LoopbackHttpServer;
using test::Respond;
using test::ServedRequest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

using test::Bytes;
using test::Str;
using test::Text;

constexpr const char* kAgent = test::kDefaultAgent;

class InetRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        net::RegisterWinInetExports();
        net::ProcessCookieStore().Clear();
        test::InstallWinInetCommandTable();
    }
    void TearDown() override
    {
        test::RemoveWinInetCommandTable();
        test::RestoreWinInet();
    }
};

TEST_F(InetRequestTest, AddressAloneSendsTheDefaultHeaderLines)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "page", {"X-Served: yes"}); });
    std::string address = server.Url("/a");
    OwnedText responseHeaders;
    OwnedByteSet body = web::InetRequest(address.c_str(), {.responseHeaders = &responseHeaders});

    EXPECT_EQ(Bytes(body), "page");
    ASSERT_EQ(server.Requests().size(), 1u);
    std::string host = "127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(server.Requests()[0].Raw(), "GET /a HTTP/1.1\r\n"
                                          "Host: " + host + "\r\n"
                                          "User-Agent: " + std::string(kAgent) + "\r\n"
                                          "Accept-Encoding: gzip, deflate\r\n"
                                          "Accept: */*\r\n"
                                          "Referer: " + address + "\r\n"
                                          "Accept-Language: zh-cn\r\n"
                                          "\r\n");
    EXPECT_EQ(Str(responseHeaders), "HTTP/1.1 200 OK\r\nX-Served: yes\r\nContent-Length: 4\r\n\r\n");
}

TEST_F(InetRequestTest, CallsTheInternetFunctionsInOrder)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, std::string(1500, 'b')); });
    std::string address = server.Url("/a");
    test::RecordWinInet();
    web::InetRequest(address.c_str());

    std::string port = std::to_string(server.Port());
    std::string block = "Accept: */*\r\nReferer: " + address + "\r\nAccept-Language: zh-cn";
    EXPECT_THAT(test::WinInetLog(),
                ElementsAre("InternetOpenA \"" + std::string(kAgent) + "\" 1 null null 0",
                            "InternetConnectA session \"127.0.0.1\" " + port + " null null 3 0 0",
                            "HttpOpenRequestA connection \"GET\" \"/a\" \"HTTP/1.1\" null null 0x80004010 0",
                            "HttpSendRequestA request \"" + block + "\" " + std::to_string(block.size()) +
                                " \"\" 0",
                            "InternetReadFile request 1024 -> 1024", "InternetReadFile request 1024 -> 476",
                            "InternetReadFile request 1024 -> 0", "HttpQueryInfoA request 22 5000 null",
                            "InternetCloseHandle request", "InternetCloseHandle connection",
                            "InternetCloseHandle session"));
}

struct FailureRow {
    const char* label;
    test::WinInetFailures failures;
    std::vector<std::string> closes;
};

class InetRequestFailure : public InetRequestTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(InetRequestFailure, ClosesWhatItOpenedAndTouchesNoArgument)
{
    test::RecordWinInet(GetParam().failures);
    OwnedText headers = Text("X: 1");
    OwnedText responseHeaders = Text("untouched");
    OwnedByteSet body = web::InetRequest("http://127.0.0.1:1/a", {.headers = &headers, .responseHeaders = &responseHeaders});
    EXPECT_EQ(body, nullptr);
    EXPECT_EQ(Str(headers), "X: 1");
    EXPECT_EQ(Str(responseHeaders), "untouched");
    std::vector<std::string> closes;
    for (const std::string& entry : test::WinInetLog())
        if (entry.starts_with("InternetCloseHandle"))
            closes.push_back(entry);
    EXPECT_EQ(closes, GetParam().closes);
    EXPECT_THAT(test::WinInetLog(), Not(::testing::Contains(HasSubstr("HttpSendRequestA"))));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InetRequestFailure,
    ::testing::Values(FailureRow{"Open", {.open = true}, {"InternetCloseHandle 0"}},
                      FailureRow{"Connect", {.connect = true}, {"InternetCloseHandle 0", "InternetCloseHandle session"}},
                      FailureRow{"OpenRequest",
                                 {.openRequest = true},
                                 {"InternetCloseHandle 0", "InternetCloseHandle connection",
                                  "InternetCloseHandle session"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(InetRequestTest, AddressWithoutSchemeIsPlainHttp)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "ok"); });
    std::string address = "127.0.0.1:" + std::to_string(server.Port()) + "/a";
    test::RecordWinInet();
    OwnedByteSet body = web::InetRequest(address.c_str());
    EXPECT_EQ(Bytes(body), "ok");
    std::vector<std::string> log = test::WinInetLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "InternetConnectA session \"127.0.0.1\" " + std::to_string(server.Port()) + " null null 3 0 0");
    // Reload, need-file and ignore-redirect-to-https; no secure flag.
    EXPECT_THAT(log[2], HasSubstr("\"/a\" \"HTTP/1.1\" null null 0x80004010"));
}

TEST_F(InetRequestTest, UpperCaseSecureSchemeWithPortAndQuery)
{
    // Nothing listens there: the request fails after its calls were made.
    int port = test::ClosedPort();
    std::string address = "HTTPS://LocalHost:" + std::to_string(port) + "/x?y=1";
    test::RecordWinInet();
    OwnedText responseHeaders;
    OwnedByteSet body = web::InetRequest(address.c_str(), {.responseHeaders = &responseHeaders});
    std::vector<std::string> log = test::WinInetLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "InternetConnectA session \"localhost\" " + std::to_string(port) + " null null 3 0 0");
    EXPECT_THAT(log[2], HasSubstr("\"GET\" \"/x?y=1\" \"HTTP/1.1\" null null 0x80800010"));
    // The header query fails and leaves its spaces.
    EXPECT_EQ(body, nullptr);
    EXPECT_EQ(Str(responseHeaders), std::string(5000, ' '));
}

TEST_F(InetRequestTest, MethodsOutsideTheTableSendGet)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "ok"); });
    std::string address = server.Url("/m");
    for (int method : {9, -1}) {
        web::InetRequest(address.c_str(), {.method = method, .postText = "ignored"});
    }
    ASSERT_EQ(server.Requests().size(), 2u);
    for (const ServedRequest& request : server.Requests()) {
        EXPECT_EQ(request.RequestLine(), "GET /m HTTP/1.1");
        EXPECT_EQ(request.body, "");
    }
}

TEST_F(InetRequestTest, UserAgentLineBecomesTheAgent)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "ok"); });
    std::string address = server.Url("/u");
    OwnedText headers = Text("User-Agent: Robot");
    test::RecordWinInet();
    web::InetRequest(address.c_str(), {.headers = &headers});

    EXPECT_EQ(test::WinInetLog().front(), "InternetOpenA \"Robot\" 1 null null 0");
    EXPECT_EQ(Str(headers), "User-Agent: Robot\r\nAccept: */*\r\nReferer: " + address + "\r\nAccept-Language: zh-cn");
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string raw = server.Requests()[0].Raw();
    EXPECT_EQ(server.Requests()[0].Header("User-Agent"), "Robot");
    EXPECT_EQ(raw.find("User-Agent:"), raw.rfind("User-Agent:")) << raw;
}

TEST_F(InetRequestTest, LowerCaseUserAgentFallsBackToTheValueOfTheBlock)
{
    OwnedText headers = Text("user-agent: Lower");
    test::RecordWinInet({.open = true});
    web::InetRequest("http://127.0.0.1:1/", {.headers = &headers});
    EXPECT_EQ(test::WinInetLog().front(), "InternetOpenA \"Lower\" 1 null null 0");
}

TEST_F(InetRequestTest, CollectsEverySetCookieLine)
{
    LoopbackHttpServer server([](const ServedRequest&) {
        return Respond(200, "ok", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2", "X-Set-Cookie: c=3"});
    });
    std::string address = server.Url("/c");
    OwnedText returned;
    web::InetRequest(address.c_str(), {.returnedCookies = &returned});
    EXPECT_EQ(Str(returned), "a=1; b=2");
}

TEST_F(InetRequestTest, EmptyCookiesGivenSkipTheStoreAndStillMerge)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /set"))
            return Respond(200, "ok", {"Set-Cookie: stored=1; path=/"});
        return Respond(200, "ok", {"Set-Cookie: b=2"});
    });
    test::RecordWinInet();
    web::InetRequest(server.Url("/set").c_str());

    // Without cookies of its own the request sends the store's cookies.
    web::InetRequest(server.Url("/plain").c_str());
    // With an empty cookies text it asks for no cookies: none are sent.
    OwnedText cookies;
    OwnedText returned;
    web::InetRequest(server.Url("/given").c_str(), {.cookies = &cookies, .returnedCookies = &returned});

    std::vector<ServedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].Header("Cookie"), "stored=1");
    EXPECT_EQ(requests[2].Header("Cookie"), "");
    std::vector<std::string> log = test::WinInetLog();
    ASSERT_FALSE(log.empty());
    std::string lastOpen;
    for (const std::string& entry : log)
        if (entry.starts_with("HttpOpenRequestA"))
            lastOpen = entry;
    EXPECT_THAT(lastOpen, HasSubstr("0x80084010"));  // with INTERNET_FLAG_NO_COOKIES
    EXPECT_EQ(Str(returned), "b=2");
    EXPECT_EQ(Str(cookies), "b=2");
}

TEST_F(InetRequestTest, GivenCookiesGoIntoTheHeaderBlock)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "ok", {"Set-Cookie: b=3"}); });
    std::string address = server.Url("/k");
    OwnedText cookies = Text("a=1; b=2");
    OwnedText headers;
    OwnedText returned;
    web::InetRequest(address.c_str(), {.cookies = &cookies, .returnedCookies = &returned, .headers = &headers});
    EXPECT_THAT(Str(headers), ::testing::EndsWith("\r\nCookie: a=1; b=2"));
    EXPECT_EQ(server.Requests().at(0).Header("Cookie"), "a=1; b=2");
    EXPECT_EQ(Str(cookies), "b=3; a=1");
    EXPECT_EQ(Str(returned), "b=3; a=1");

    // A cookies text that is already a header line goes in as it is.
    OwnedText line = Text("Cookie: z=9");
    OwnedText block;
    web::InetRequest(address.c_str(), {.cookies = &line, .headers = &block, .mergeCookies = false});
    EXPECT_THAT(Str(block), ::testing::EndsWith("zh-cn\r\nCookie: z=9"));
    EXPECT_EQ(Str(line), "Cookie: z=9") << "no merge was asked for";
}

TEST_F(InetRequestTest, FailedHeaderQueryLeavesItsSpaces)
{
    // 6000 bytes of headers do not fit the 5000-byte buffer.
    LoopbackHttpServer server([](const ServedRequest&) {
        return Respond(200, "body", {"X-Long: " + std::string(6000, 'x'), "Set-Cookie: lost=1"});
    });
    OwnedText responseHeaders;
    OwnedText returned = Text("old");
    OwnedByteSet body =
        web::InetRequest(server.Url("/h").c_str(), {.returnedCookies = &returned, .responseHeaders = &responseHeaders});
    EXPECT_EQ(Bytes(body), "body");
    EXPECT_EQ(Str(responseHeaders), std::string(5000, ' '));
    EXPECT_EQ(Str(returned), "");
}

TEST_F(InetRequestTest, PostSendsTheTextWithAFormContentType)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "posted"); });
    std::string address = server.Url("/p");
    OwnedByteSet postBytes;
    OwnedByteSet body = web::InetRequest(address.c_str(), {.method = web::kMethodPost, .postText = "a=1&b=2", .postBytes = &postBytes});
    EXPECT_EQ(Bytes(body), "posted");
    EXPECT_EQ(Bytes(postBytes), "a=1&b=2") << "the caller's byte-set receives the text";
    ASSERT_EQ(server.Requests().size(), 1u);
    const ServedRequest request = server.Requests()[0];
    EXPECT_EQ(request.RequestLine(), "POST /p HTTP/1.1");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Header("Content-Length"), "7");
    EXPECT_EQ(request.body, "a=1&b=2");
}

TEST_F(InetRequestTest, BytesWinOverTextAndOtherVerbsSendThem)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    std::string address = server.Url("/put");
    std::string data("\x01\x00\x02", 3);
    OwnedByteSet postBytes(runtime::MakeByteSet({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}));
    web::InetRequest(address.c_str(), {.method = 3, .postText = "text", .postBytes = &postBytes});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].RequestLine(), "PUT /put HTTP/1.1");
    EXPECT_EQ(server.Requests()[0].body, data);
    EXPECT_EQ(server.Requests()[0].Header("Content-Type"), "") << "only a POST gets the form type";
}

TEST_F(InetRequestTest, HeaderBlockEndingInCrLfSendsNoEmptyLine)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    std::string address = server.Url("/e");
    OwnedText headers = Text("X-A: 1\r\n");
    web::InetRequest(address.c_str(), {.headers = &headers});
    EXPECT_EQ(Str(headers), "X-A: 1\r\n\r\nAccept: */*\r\nReferer: " + address + "\r\nAccept-Language: zh-cn");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_THAT(server.Requests()[0].head, HasSubstr("X-A: 1\r\nAccept: */*\r\n"));
}

TEST_F(InetRequestTest, ProxyForPlainRequestsIsNamedForHttp)
{
    LoopbackHttpServer proxy([](const ServedRequest&) { return Respond(200, "via proxy"); });
    std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());
    test::RecordWinInet();
    OwnedByteSet body = web::InetRequest("http://gallery.invalid/p/1.shtml", {.proxy = proxyAddress.c_str()});
    EXPECT_EQ(Bytes(body), "via proxy");
    EXPECT_EQ(test::WinInetLog().front(),
              "InternetOpenA \"" + std::string(kAgent) + "\" 3 \"http=" + proxyAddress + "\" \"\" 0");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].RequestLine(), "GET http://gallery.invalid/p/1.shtml HTTP/1.1");
    EXPECT_EQ(proxy.Requests()[0].Header("Host"), "gallery.invalid");
}

TEST_F(InetRequestTest, ProxyForSecureRequestsServesEveryScheme)
{
    test::RecordWinInet({.connect = true});
    web::InetRequest("https://gallery.invalid/", {.proxy = "127.0.0.1:3128"});
    EXPECT_EQ(test::WinInetLog().front(), "InternetOpenA \"" + std::string(kAgent) + "\" 3 \"127.0.0.1:3128\" \"\" 0");
}

TEST_F(InetRequestTest, RedirectsAreFollowedUnlessAskedNotTo)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /from"))
            return Respond(302, "moved", {"Location: /to"});
        return Respond(200, "arrived");
    });
    EXPECT_EQ(Bytes(web::InetRequest(server.Url("/from").c_str())), "arrived");
    OwnedText responseHeaders;
    EXPECT_EQ(Bytes(web::InetRequest(server.Url("/from").c_str(), {.responseHeaders = &responseHeaders, .noRedirect = true})),
              "moved");
    EXPECT_THAT(Str(responseHeaders), StartsWith("HTTP/1.1 302 Found\r\nLocation: /to\r\n"));
}

}  // namespace

namespace {

// Against each broken server the routine ends within the time-outs with the
// empty body, and the header query finds nothing.
class InetRequestFault : public InetRequestTest, public ::testing::WithParamInterface<test::Fault> {
protected:
    void SetUp() override
    {
        InetRequestTest::SetUp();
        DWORD shortTimeout = 2000;
        InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &shortTimeout, sizeof shortTimeout);
        InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &shortTimeout, sizeof shortTimeout);
        net::SetBodyCap(1 << 20);
    }
    void TearDown() override
    {
        DWORD connect = 60000;
        DWORD receive = 30000;
        InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
        InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
        net::SetBodyCap(net::kDefaultBodyCap);
        InetRequestTest::TearDown();
    }
};

TEST_P(InetRequestFault, EndsWithTheEmptyBody)
{
    test::Fault fault = GetParam();
    std::unique_ptr<LoopbackHttpServer> server;
    std::string address = test::FaultAddress(fault, server);
    OwnedText responseHeaders;
    OwnedByteSet body = web::InetRequest(address.c_str(), {.responseHeaders = &responseHeaders});
    EXPECT_EQ(body, nullptr) << Bytes(body).size() << " bytes came back";
    EXPECT_EQ(Str(responseHeaders), std::string(5000, ' '));
    if (fault == test::Fault::RedirectLoop) {
        EXPECT_EQ(server->Requests().size(), 11u) << "the first request and ten redirects";
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, InetRequestFault,
                         ::testing::ValuesIn(test::kServerFaults),
                         [](const auto& info) { return std::string(test::FaultName(info.param)); });

TEST_F(InetRequestFault, StopAbortsTheTransferAtOnce)
{
    LoopbackHttpServer server([](const ServedRequest&) { return test::FaultReply(test::Fault::Silent); });
    // A receive time-out far beyond the test: only the stop can end it.
    DWORD longTimeout = 600000;
    InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &longTimeout, sizeof longTimeout);
    test::StopOnFirstRequest stop(server);
    OwnedByteSet body = web::InetRequest(server.Url("/stop").c_str());
    stop.Join();
    EXPECT_EQ(body, nullptr);

    // A stopped thread makes no further request.
    web::InetRequest(server.Url("/after").c_str());
    EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
