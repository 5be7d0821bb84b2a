#include <gtest/gtest.h>

#include <string>

#include "platform/net/ProxyList.h"

namespace {

using vellumry::net::ProxyList;

struct ProxyRow {
    const char* label;
    std::string list;
    std::string http;
    std::string https;
};

class ProxyLists : public ::testing::TestWithParam<ProxyRow> {};

TEST_P(ProxyLists, NameAProxyPerScheme)
{
    ProxyList proxies = ProxyList::Parse(GetParam().list);
    EXPECT_EQ(proxies.For("http", "gallery.example"), GetParam().http);
    EXPECT_EQ(proxies.For("https", "gallery.example"), GetParam().https);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ProxyLists,
    ::testing::Values(ProxyRow{"ForEveryScheme", "p:8080", "http://p:8080", "http://p:8080"},
                      ProxyRow{"HttpOnly", "http=p:8080", "http://p:8080", ""},
                      ProxyRow{"PortLeftOut", "http=p", "http://p:80", ""},
                      ProxyRow{"PerScheme", "http=a:1;https=b:2", "http://a:1", "http://b:2"},
                      ProxyRow{"SpecificBeatsCommon", "c:3 https=b:2", "http://c:3", "http://b:2"},
                      ProxyRow{"WithScheme", "http=http://a:1/", "http://a:1", ""},
                      ProxyRow{"OtherSchemesIgnored", "socks=s:1080 ftp=f:21", "", ""},
                      ProxyRow{"Bracketed", "[::1]:3128", "http://[::1]:3128", "http://[::1]:3128"},
                      ProxyRow{"Empty", "", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ProxyBypass, SendsListedHostsDirect)
{
    ProxyList proxies = ProxyList::Parse("p:8080", "*.local.example;<local> Exact.Example");
    EXPECT_EQ(proxies.For("http", "a.local.example"), "");
    EXPECT_EQ(proxies.For("http", "intranet"), "") << "no dot: local";
    EXPECT_EQ(proxies.For("https", "exact.example"), "") << "any letter case";
    EXPECT_EQ(proxies.For("http", "local.example"), "http://p:8080") << "the wildcard needs its dot";
    EXPECT_EQ(proxies.For("http", "exact.example.org"), "http://p:8080");
}

}  // namespace
