#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/net/HttpTransfer.h"
#include "platform/net/TransferLimits.h"
#include "platform/net/WinInet.h"
#include "tests/support/FaultReplies.h"
#include "tests/support/LoopbackHttpServer.h"

namespace {

using vellumry::test::Fault;
using vellumry::test::LoopbackHttpServer;
using vellumry::test::Respond;
using vellumry::test::ServedRequest;

// A session, connection and request for a path on the loopback port, closed
// in the right order at the end.
class Handles {
public:
    Handles(int port, const char* path, DWORD flags = 0, const char* verb = "GET")
    {
        session = InternetOpenA("Test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                      INTERNET_SERVICE_HTTP, 0, 0);
        request = HttpOpenRequestA(connection, verb, path, nullptr, nullptr, nullptr, flags, 0);
    }
    ~Handles()
    {
        InternetCloseHandle(request);
        InternetCloseHandle(connection);
        InternetCloseHandle(session);
    }
    HINTERNET session;
    HINTERNET connection;
    HINTERNET request;
};

std::string ReadAll(HINTERNET request, DWORD pieceSize, std::vector<DWORD>& pieces)
{
    std::string body;
    std::vector<char> buffer(pieceSize);
    for (;;) {
        DWORD read = 0xDEAD;
        if (!InternetReadFile(request, buffer.data(), pieceSize, &read))
            break;
        pieces.push_back(read);
        if (read == 0)
            break;
        body.append(buffer.data(), read);
    }
    return body;
}

class WinInet : public ::testing::Test {
protected:
    void TearDown() override
    {
        vellumry::net::SetBodyCap(vellumry::net::kDefaultBodyCap);
        vellumry::net::DropIdleConnections();
    }
};

TEST_F(WinInet, ReadsTheBodyInPiecesThenZero)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, std::string(2500, 'b')); });
    Handles handles(server.Port(), "/b");
    std::vector<DWORD> pieces;
    DWORD read = 7;
    EXPECT_FALSE(InternetReadFile(handles.request, &read, sizeof read, &read));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE) << "nothing was sent yet";
    ASSERT_TRUE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(ReadAll(handles.request, 1024, pieces), std::string(2500, 'b'));
    EXPECT_EQ(pieces, (std::vector<DWORD>{1024, 1024, 452, 0}));
    pieces.clear();
    ReadAll(handles.request, 1024, pieces);
    EXPECT_EQ(pieces, std::vector<DWORD>{0}) << "the end stays the end";
}

TEST_F(WinInet, RawHeadersNeedRoomForTheirTerminatingZero)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "", {"X-A: 1"}); });
    Handles handles(server.Port(), "/");
    char buffer[256];
    DWORD length = sizeof buffer;
    EXPECT_FALSE(HttpQueryInfoA(handles.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND) << "no response yet";

    ASSERT_TRUE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
    const std::string expected = "HTTP/1.1 200 OK\r\nX-A: 1\r\nContent-Length: 0\r\n\r\n";
    length = static_cast<DWORD>(expected.size());
    EXPECT_FALSE(HttpQueryInfoA(handles.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(length, expected.size() + 1);

    EXPECT_TRUE(HttpQueryInfoA(handles.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
    EXPECT_EQ(length, expected.size());
    EXPECT_EQ(std::string(buffer), expected);

    length = sizeof buffer;
    EXPECT_FALSE(HttpQueryInfoA(handles.request, 19, buffer, &length, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_HTTP_INVALID_QUERY_REQUEST);
}

TEST_F(WinInet, HandlesAreCheckedForTheirKind)
{
    HINTERNET session = InternetOpenA("Test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(HttpOpenRequestA(session, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    EXPECT_EQ(InternetConnectA(session, "", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(InternetConnectA(session, "h", 21, nullptr, nullptr, 1, 0, 0), nullptr) << "only HTTP is offered";
    EXPECT_TRUE(InternetCloseHandle(session));
    EXPECT_FALSE(InternetCloseHandle(session));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(InternetCloseHandle(nullptr));
    EXPECT_EQ(InternetConnectA(session, "h", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(WinInet, OpenRefusesWhatItCannotDo)
{
    EXPECT_EQ(InternetOpenA("a", INTERNET_OPEN_TYPE_PROXY, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(InternetOpenA("a", 2, nullptr, nullptr, 0), nullptr);
}

TEST_F(WinInet, ClosingTheParentsFirstLeavesTheRequestUsable)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "still"); });
    HINTERNET session = InternetOpenA("Test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0);
    InternetCloseHandle(session);
    InternetCloseHandle(connection);
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
    std::vector<DWORD> pieces;
    EXPECT_EQ(ReadAll(request, 100, pieces), "still");
    EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET / HTTP/1.1");
    InternetCloseHandle(request);
}

TEST_F(WinInet, RequestCarriesReferrerAcceptedTypesAndAgent)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    HINTERNET session = InternetOpenA("Agent\r\nX-Injected: 1", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    LPCSTR types[] = {"text/html", "image/*", nullptr};
    HINTERNET request = HttpOpenRequestA(connection, "GET", "a b", "HTTP/1.0", "http://r.example/", types, 0, 0);
    ASSERT_TRUE(HttpSendRequestA(request, "X-One: 1\nX-Two: 2\r\n\r\n", 0xFFFFFFFF, nullptr, 0));
    ServedRequest served = server.Requests().at(0);
    EXPECT_EQ(served.RequestLine(), "GET /a%20b HTTP/1.0");
    EXPECT_EQ(served.Header("Referer"), "http://r.example/");
    EXPECT_EQ(served.Header("Accept"), "text/html, image/*");
    EXPECT_EQ(served.Header("User-Agent"), "Agent");
    EXPECT_EQ(served.Header("X-Injected"), "");
    EXPECT_EQ(served.Header("X-Two"), "2");
    EXPECT_FALSE(HttpSendRequestA(request, "No colon here", 0xFFFFFFFF, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_HTTP_INVALID_HEADER);
    EXPECT_FALSE(HttpSendRequestA(request, "X: a\rInjected: 1", 0xFFFFFFFF, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_HTTP_INVALID_HEADER);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
}

TEST_F(WinInet, RedirectFlags)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /secure"))
            return Respond(302, "moved", {"Location: https://127.0.0.1:1/"});
        return Respond(302, "moved", {"Location: /elsewhere"});
    });
    {
        Handles handles(server.Port(), "/plain", INTERNET_FLAG_NO_AUTO_REDIRECT);
        ASSERT_TRUE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
        std::vector<DWORD> pieces;
        EXPECT_EQ(ReadAll(handles.request, 100, pieces), "moved");
    }
    {
        Handles handles(server.Port(), "/secure");
        EXPECT_FALSE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
        EXPECT_EQ(GetLastError(), ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR);
    }
    {
        Handles handles(server.Port(), "/secure", INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
        EXPECT_FALSE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
        EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT) << "followed, to a closed port";
    }
}

struct SendFaultRow {
    Fault fault;
    DWORD error;
};

class WinInetFault : public WinInet, public ::testing::WithParamInterface<SendFaultRow> {};

TEST_P(WinInetFault, FailsTheSendWithTheDocumentedCode)
{
    vellumry::net::SetBodyCap(1 << 20);
    Fault fault = GetParam().fault;
    std::unique_ptr<LoopbackHttpServer> server;
    int port = vellumry::test::ClosedPort();
    if (fault != Fault::ConnectionRefused) {
        server = std::make_unique<LoopbackHttpServer>(
            [fault](const ServedRequest&) { return vellumry::test::FaultReply(fault); });
        port = server->Port();
    }
    Handles handles(port, "/loop");
    DWORD timeout = 2000;
    ASSERT_TRUE(InternetSetOptionA(handles.request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout));
    EXPECT_FALSE(HttpSendRequestA(handles.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), GetParam().error);
    DWORD read = 5;
    char byte;
    EXPECT_FALSE(InternetReadFile(handles.request, &byte, 1, &read));
    EXPECT_EQ(read, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, WinInetFault,
    ::testing::Values(SendFaultRow{Fault::ConnectionRefused, ERROR_INTERNET_CANNOT_CONNECT},
                      SendFaultRow{Fault::ResetMidBody, ERROR_INTERNET_CONNECTION_RESET},
                      SendFaultRow{Fault::TruncatedBody, ERROR_INTERNET_CONNECTION_ABORTED},
                      SendFaultRow{Fault::RedirectLoop, ERROR_HTTP_REDIRECT_FAILED},
                      SendFaultRow{Fault::RedirectToFile, ERROR_HTTP_REDIRECT_FAILED},
                      SendFaultRow{Fault::EndlessBody, ERROR_FILE_TOO_LARGE},
                      SendFaultRow{Fault::Silent, ERROR_INTERNET_TIMEOUT}),
    [](const auto& info) { return std::string(vellumry::test::FaultName(info.param.fault)); });

TEST_F(WinInet, SetOptionChecksItsArguments)
{
    DWORD value = 1000;
    EXPECT_FALSE(InternetSetOptionA(nullptr, 99, &value, sizeof value));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);
    EXPECT_FALSE(InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &value, 2));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_BAD_OPTION_LENGTH);
    EXPECT_FALSE(InternetSetOptionA(reinterpret_cast<HINTERNET>(0x4), INTERNET_OPTION_CONNECT_TIMEOUT, &value,
                                    sizeof value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
