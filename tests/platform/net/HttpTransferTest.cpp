#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/net/CertificateErrors.h"
#include "platform/net/CookieJar.h"
#include "platform/net/HttpTransfer.h"
#include "platform/net/TransferAbort.h"
#include "platform/net/TransferLimits.h"
#include "tests/support/FaultReplies.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestCertificate.h"

namespace {

using namespace vellumry::net;
using vellumry::test::CertificateOrder;
using vellumry::test::Fault;
using vellumry::test::LoopbackHttpServer;
using vellumry::test::Respond;
using vellumry::test::ServedRequest;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Body(const TransferResult& result)
{
    return std::string(result.body.begin(), result.body.end());
}

TransferRequest Get(const std::string& url)
{
    TransferRequest request;
    request.url = url;
    request.timeouts = {2000, 2000};
    return request;
}

const char* NameOf(TransferError error)
{
    switch (error) {
    case TransferError::None:
        return "None";
    case TransferError::Timeout:
        return "Timeout";
    case TransferError::BodyTooLarge:
        return "BodyTooLarge";
    case TransferError::RedirectFailed:
        return "RedirectFailed";
    case TransferError::Cancelled:
        return "Cancelled";
    default:
        return "another error";
    }
}

class HttpTransfer : public ::testing::Test {
protected:
    void SetUp() override { DropIdleConnections(); }
    void TearDown() override
    {
        SetBodyCap(kDefaultBodyCap);
        SetTransferAbortPredicate(nullptr);
        DropIdleConnections();
    }
};

TEST_F(HttpTransfer, KeepsTheConnectionBetweenRequests)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "same"); });
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Body(PerformTransfer(Get(server.Url("/k")))), "same");
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.ConnectionCount(), 1);
}

TEST_F(HttpTransfer, SendsOnlyTheHeadersItWasGiven)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    TransferRequest request = Get(server.Url("/h"));
    request.verb = "POST";
    request.sendBody = true;
    request.body.assign(2000, 'p');  // long enough for libcurl's "Expect: 100-continue"
    request.headers = {"X-Mine: 1"};
    PerformTransfer(request);
    ASSERT_EQ(server.Requests().size(), 1u);
    std::string head = server.Requests()[0].head;
    EXPECT_EQ(head, "POST /h HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                        "\r\nAccept-Encoding: gzip, deflate\r\nX-Mine: 1\r\nContent-Length: 2000\r\n\r\n");
    EXPECT_EQ(server.Requests()[0].body, std::string(2000, 'p'));
}

TEST_F(HttpTransfer, EscapesUnsafeBytesOfThePath)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    PerformTransfer(Get(server.Url("/\xCD\xBC a.jpg?q=\xB1")));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].RequestLine(), "GET /%CD%BC%20a.jpg?q=%B1 HTTP/1.1");
}

struct FaultRow {
    Fault fault;
    TransferError error;
};

class HttpTransferFault : public HttpTransfer, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(HttpTransferFault, FailsWithItsKindOfError)
{
    SetBodyCap(1 << 20);
    Fault fault = GetParam().fault;
    std::unique_ptr<LoopbackHttpServer> server;
    std::string url;
    if (fault == Fault::ConnectionRefused) {
        url = "http://127.0.0.1:" + std::to_string(vellumry::test::ClosedPort()) + "/";
    } else {
        server = std::make_unique<LoopbackHttpServer>(
            [fault](const ServedRequest&) { return vellumry::test::FaultReply(fault); });
        url = server->Url("/loop");
    }
    TransferResult result = PerformTransfer(Get(url));
    EXPECT_EQ(result.error, GetParam().error) << NameOf(result.error);
    EXPECT_TRUE(result.body.empty());
    EXPECT_EQ(result.rawHeaders, "");
    EXPECT_EQ(result.status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, HttpTransferFault,
    ::testing::Values(FaultRow{Fault::ConnectionRefused, TransferError::CannotConnect},
                      FaultRow{Fault::ResetMidBody, TransferError::ConnectionReset},
                      FaultRow{Fault::TruncatedBody, TransferError::ConnectionAborted},
                      FaultRow{Fault::RedirectLoop, TransferError::RedirectFailed},
                      FaultRow{Fault::RedirectToFile, TransferError::RedirectFailed},
                      FaultRow{Fault::EndlessBody, TransferError::BodyTooLarge},
                      FaultRow{Fault::GzipBomb, TransferError::BodyTooLarge},
                      FaultRow{Fault::Silent, TransferError::Timeout},
                      FaultRow{Fault::Drip, TransferError::Timeout}),
    [](const auto& info) { return std::string(vellumry::test::FaultName(info.param.fault)); });

TEST_F(HttpTransfer, BodyCapCountsDecodedBytes)
{
    SetBodyCap(1000);
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /exact"))
            return Respond(200, std::string(1000, 'x'));
        if (request.RequestLine().starts_with("GET /over"))
            return Respond(200, std::string(1001, 'x'));
        // 1001 zeros compress to a few bytes; decoded, they pass the cap.
        return Respond(200, vellumry::test::GzipOfZeros(request.RequestLine().starts_with("GET /small") ? 1000 : 1001),
                       {"Content-Encoding: gzip"});
    });
    EXPECT_EQ(PerformTransfer(Get(server.Url("/exact"))).body.size(), 1000u);
    EXPECT_EQ(PerformTransfer(Get(server.Url("/over"))).error, TransferError::BodyTooLarge);
    TransferResult small = PerformTransfer(Get(server.Url("/small")));
    EXPECT_EQ(small.error, TransferError::None);
    EXPECT_EQ(small.body, std::vector<std::uint8_t>(1000, 0));
    EXPECT_EQ(PerformTransfer(Get(server.Url("/zipped"))).error, TransferError::BodyTooLarge);
}

TEST_F(HttpTransfer, FollowsTenRedirectsButNotEleven)
{
    // /r/<n> redirects to /r/<n-1>; /r/0 is the page.
    LoopbackHttpServer server([](const ServedRequest& request) {
        std::string line = request.RequestLine();
        int left = std::stoi(line.substr(line.find("/r/") + 3));
        if (left == 0)
            return Respond(200, "end");
        return Respond(302, "", {"Location: /r/" + std::to_string(left - 1)});
    });
    TransferResult ten = PerformTransfer(Get(server.Url("/r/10")));
    EXPECT_EQ(Body(ten), "end");
    EXPECT_EQ(ten.finalUrl, server.Url("/r/0"));
    EXPECT_EQ(PerformTransfer(Get(server.Url("/r/11"))).error, TransferError::RedirectFailed);
}

struct RedirectRow {
    const char* label;
    int status;
    std::string expectedLine;
    std::string expectedBody;
};

class RedirectedPost : public HttpTransfer, public ::testing::WithParamInterface<RedirectRow> {};

TEST_P(RedirectedPost, ChangesTheMethodAsTheStatusSays)
{
    int status = GetParam().status;
    LoopbackHttpServer server([status](const ServedRequest& request) {
        if (request.RequestLine().find("/form") != std::string::npos)
            return Respond(status, "", {"Location: /done"});
        return Respond(200, "ok");
    });
    TransferRequest request = Get(server.Url("/form"));
    request.verb = "POST";
    request.body = {'a', '=', '1'};
    request.sendBody = true;
    EXPECT_EQ(Body(PerformTransfer(request)), "ok");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].RequestLine(), GetParam().expectedLine);
    EXPECT_EQ(server.Requests()[1].body, GetParam().expectedBody);
}

INSTANTIATE_TEST_SUITE_P(Statuses, RedirectedPost,
                         ::testing::Values(RedirectRow{"MovedPermanently", 301, "GET /done HTTP/1.1", ""},
                                           RedirectRow{"Found", 302, "GET /done HTTP/1.1", ""},
                                           RedirectRow{"SeeOther", 303, "GET /done HTTP/1.1", ""},
                                           RedirectRow{"TemporaryRedirect", 307, "POST /done HTTP/1.1", "a=1"},
                                           RedirectRow{"PermanentRedirect", 308, "POST /done HTTP/1.1", "a=1"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(HttpTransfer, CredentialsAndCookiesStayWithTheirHost)
{
    LoopbackHttpServer other([](const ServedRequest&) { return Respond(200, "other"); });
    std::string elsewhere = "http://localhost:" + std::to_string(other.Port()) + "/x";
    LoopbackHttpServer server([&elsewhere](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /same"))
            return Respond(302, "", {"Location: /here"});
        if (request.RequestLine().starts_with("GET /away"))
            return Respond(302, "", {"Location: " + elsewhere});
        return Respond(200, "here");
    });
    TransferRequest request = Get(server.Url("/same"));
    request.headers = {"Authorization: Basic dTpw", "Cookie: s=1", "X-Keep: 1"};
    PerformTransfer(request);
    request.url = server.Url("/away");
    EXPECT_EQ(Body(PerformTransfer(request)), "other");

    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[1].Header("Authorization"), "Basic dTpw");
    EXPECT_EQ(server.Requests()[1].Header("Cookie"), "s=1");
    ASSERT_EQ(other.Requests().size(), 1u);
    EXPECT_EQ(other.Requests()[0].Header("Authorization"), "");
    EXPECT_EQ(other.Requests()[0].Header("Cookie"), "");
    EXPECT_EQ(other.Requests()[0].Header("X-Keep"), "1");
}

TEST_F(HttpTransfer, RedirectPolicyGuardsSchemeChanges)
{
    LoopbackHttpServer secure([](const ServedRequest&) { return Respond(302, "", {"Location: http://127.0.0.1:1/"}); },
                              vellumry::test::MakeServerContext({}));
    LoopbackHttpServer plain([&secure](const ServedRequest&) {
        return Respond(302, "", {"Location: " + secure.Url("/s")});
    });
    TransferRequest toSecure = Get(plain.Url("/p"));
    toSecure.redirects.allowHttpToHttps = false;
    EXPECT_EQ(PerformTransfer(toSecure).error, TransferError::HttpToHttpsRedirect);

    TransferRequest toPlain = Get(secure.Url("/s"));
    toPlain.ignoredCertificateErrors = kAllCertificateErrors;
    EXPECT_EQ(PerformTransfer(toPlain).error, TransferError::HttpsToHttpRedirect) << "refused by default";
    toPlain.redirects.follow = false;
    TransferResult unfollowed = PerformTransfer(toPlain);
    EXPECT_EQ(unfollowed.status, 302);
    EXPECT_THAT(unfollowed.rawHeaders, HasSubstr("Location: http://127.0.0.1:1/\r\n"));
}

struct CertificateRow {
    const char* label;
    CertificateOrder certificate;
    std::uint32_t ignored;
    TransferError error;
};

class Certificates : public HttpTransfer, public ::testing::WithParamInterface<CertificateRow> {};

TEST_P(Certificates, AreCheckedUnlessTheCallerIgnoresThatKind)
{
    const CertificateRow& row = GetParam();
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "secret"); },
                              vellumry::test::MakeServerContext(row.certificate));
    TransferRequest request = Get(server.Url("/"));
    request.ignoredCertificateErrors = row.ignored;
    TransferResult result = PerformTransfer(request);
    EXPECT_EQ(result.error, row.error) << NameOf(result.error);
    EXPECT_EQ(Body(result), row.error == TransferError::None ? "secret" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Certificates,
    ::testing::Values(
        CertificateRow{"UnknownAuthority", {}, 0, TransferError::CertificateAuthority},
        CertificateRow{"UnknownAuthorityIgnored", {}, kIgnoreUnknownAuthority, TransferError::None},
        CertificateRow{"OtherName", {.name = "elsewhere.invalid"}, kIgnoreUnknownAuthority,
                       TransferError::CertificateName},
        CertificateRow{"OtherNameIgnored", {.name = "elsewhere.invalid"},
                       kIgnoreUnknownAuthority | kIgnoreNameMismatch, TransferError::None},
        CertificateRow{"Expired", {.expired = true}, kIgnoreUnknownAuthority, TransferError::CertificateDate},
        CertificateRow{"ExpiredIgnored", {.expired = true}, kIgnoreUnknownAuthority | kIgnoreDateInvalid,
                       TransferError::None},
        CertificateRow{"OnlyTheDateIgnored", {.expired = true}, kIgnoreDateInvalid,
                       TransferError::CertificateAuthority},
        CertificateRow{"PictureRequestOption", {.name = "elsewhere.invalid", .expired = true}, 0x3300,
                       TransferError::None}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(HttpTransfer, LenientConnectionsAreNotReusedByStrictRequests)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "secret"); },
                              vellumry::test::MakeServerContext({}));
    TransferRequest lenient = Get(server.Url("/"));
    lenient.ignoredCertificateErrors = kAllCertificateErrors;
    ASSERT_EQ(PerformTransfer(lenient).error, TransferError::None);
    EXPECT_EQ(PerformTransfer(Get(server.Url("/"))).error, TransferError::CertificateAuthority);
}

TEST_F(HttpTransfer, CookieJarSendsCookiesBackToTheirHostOnly)
{
    LoopbackHttpServer server([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /set"))
            return Respond(200, "", {"Set-Cookie: a=1; Path=/", "Set-Cookie: gone=1; Path=/"});
        if (request.RequestLine().starts_with("GET /drop"))
            return Respond(200, "", {"Set-Cookie: gone=; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT"});
        return Respond(200, "");
    });
    CookieJar jar;
    TransferRequest request = Get(server.Url("/set"));
    request.cookies = &jar;
    PerformTransfer(request);
    EXPECT_EQ(jar.Snapshot().size(), 2u);
    request.url = server.Url("/drop");
    PerformTransfer(request);
    request.url = server.Url("/read");
    PerformTransfer(request);
    request.url = "http://localhost:" + std::to_string(server.Port()) + "/other-host";
    PerformTransfer(request);

    std::vector<ServedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_THAT(requests[1].Header("Cookie"), ::testing::AnyOf("a=1; gone=1", "gone=1; a=1"));
    EXPECT_EQ(requests[2].Header("Cookie"), "a=1");
    EXPECT_EQ(requests[3].Header("Cookie"), "") << "cookies of 127.0.0.1 do not go to localhost";

    // Without a jar nothing is kept, not even along a redirect.
    LoopbackHttpServer redirecting([](const ServedRequest& request) {
        if (request.RequestLine().starts_with("GET /first"))
            return Respond(302, "", {"Location: /second", "Set-Cookie: r=1; Path=/"});
        return Respond(200, "");
    });
    PerformTransfer(Get(redirecting.Url("/first")));
    ASSERT_EQ(redirecting.Requests().size(), 2u);
    EXPECT_EQ(redirecting.Requests()[1].Header("Cookie"), "");
}

TEST_F(HttpTransfer, CookieJarUpdatesOnlyWhatATransferChanged)
{
    CookieJar jar;
    std::string a = "h\tFALSE\t/\tFALSE\t0\ta\t1";
    std::string b = "h\tFALSE\t/\tFALSE\t0\tb\t1";
    jar.Update({}, {a, b});
    std::vector<std::string> first = jar.Snapshot();
    // Another transfer changes b meanwhile.
    std::string b2 = "h\tFALSE\t/\tFALSE\t0\tb\t2";
    jar.Update(first, {a, b2});
    // The first transfer ends having dropped a and b: a goes, the newer b stays.
    jar.Update(first, {});
    EXPECT_EQ(jar.Snapshot(), std::vector<std::string>{b2});
}

std::atomic<bool> g_stop{false};
bool Stop()
{
    return g_stop.load();
}

TEST_F(HttpTransfer, AStoppedThreadStartsNoTransfer)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    g_stop = true;
    SetTransferAbortPredicate(&Stop);
    EXPECT_EQ(PerformTransfer(Get(server.Url("/"))).error, TransferError::Cancelled);
    EXPECT_EQ(server.ConnectionCount(), 0);
    g_stop = false;
    EXPECT_EQ(PerformTransfer(Get(server.Url("/"))).error, TransferError::None);
}

TEST_F(HttpTransfer, StopEndsATransferInMidBody)
{
    // The body drips; the stop comes once the first bytes are in.
    LoopbackHttpServer server([](const ServedRequest&) {
        return vellumry::test::ReplyScript()
            .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(100, 'x'))
            .Drip(std::string(1000, 'y'), std::chrono::milliseconds(20));
    });
    g_stop = false;
    SetTransferAbortPredicate(&Stop);
    std::thread stopper([&server] {
        while (server.Requests().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        g_stop = true;
        WakeTransfers();
    });
    TransferRequest request = Get(server.Url("/"));
    request.timeouts = {0, 0};  // no time-out could end it
    EXPECT_EQ(PerformTransfer(request).error, TransferError::Cancelled);
    stopper.join();
    g_stop = false;
}

}  // namespace
