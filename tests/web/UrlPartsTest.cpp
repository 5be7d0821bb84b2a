#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseTable.h"
#include "web/UrlParts.h"

namespace {

using namespace vellumry::web;
using vellumry::test::PrintTo;
using vellumry::test::RowLabel;

struct UrlRow {
    const char* label;
    std::string address;
    std::string host;
    std::string hostWithPort;
    int port;
    std::string path;
};

class AddressParts : public ::testing::TestWithParam<UrlRow> {};

TEST_P(AddressParts, AreCutFromTheAddress)
{
    const UrlRow& row = GetParam();
    EXPECT_EQ(UrlHost(row.address), row.host);
    EXPECT_EQ(UrlHost(row.address, {.keepPort = true}), row.hostWithPort);
    EXPECT_EQ(UrlPort(row.address), row.port);
    EXPECT_EQ(UrlPath(row.address), row.path);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, AddressParts,
    ::testing::Values(
        UrlRow{"WithoutScheme", "gallery.example/a", "gallery.example", "gallery.example", 80, "/a"},
        UrlRow{"SecureUpperCaseWithPortAndQuery", "HTTPS://Pics.Example:8443/x?y=1", "pics.example",
               "pics.example:8443", 8443, "/x?y=1"},
        UrlRow{"NothingAfterHost", "http://a.example", "a.example", "a.example", 80, "/"},
        UrlRow{"SecureDefaultPort", "https://a.example/p", "a.example", "a.example", 443, "/p"},
        UrlRow{"PathKeepsItsLetters", "http://A.example/Up/Case.JPG#Frag", "a.example", "a.example", 80,
               "/Up/Case.JPG#Frag"},
        UrlRow{"PortWithoutDigits", "http://a.example:/x", "a.example", "a.example:", 0, "/x"},
        UrlRow{"PortWithTrailingJunk", "http://a.example:81x/x", "a.example", "a.example:81x", 81, "/x"},
        // The scheme counts only at the start: "http://" in the query of an
        // address without scheme names no host.
        UrlRow{"SchemeInQueryOfAddressWithoutScheme", "a.example/go?to=http://b.example/", "a.example",
               "a.example", 80, "/go?to=http://b.example/"},
        // A host that also occurs inside the scheme is looked for after it.
        UrlRow{"HostInsideScheme", "http://t/x", "t", "t", 80, "/x"},
        // A host name beginning with "https" is no secure address.
        UrlRow{"HostStartingWithHttps", "httpstatus.example/x", "httpstatus.example", "httpstatus.example", 80,
               "/x"}),
    RowLabel());

TEST(UrlHostOptions, RootOnlyKeepsTheLastTwoLabels)
{
    EXPECT_EQ(UrlHost("http://img.cdn.example.com:81/a", {.rootOnly = true}), "example.com");
    EXPECT_EQ(UrlHost("http://img.cdn.example.com:81/a", {.rootOnly = true, .keepPort = true}), "example.com:81");
    EXPECT_EQ(UrlHost("http://localhost/a", {.rootOnly = true}), "localhost");
}

TEST(UrlPort, SaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(UrlPort("http://a:99999999999999/"), 2147483647);
}

}  // namespace
