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
    EXPECT_EQ(proxies.For("http"), GetParam().http);
    EXPECT_EQ(proxies.For("https"), GetParam().https);
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

}  // namespace
