#include <gtest/gtest.h>

#include <curl/curl.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/codepage/CodePage.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryRequest.h"
#include "tools/gallery/GalleryServer.h"

namespace {

using namespace vellumry;

struct Fetched {
    CURLcode result = CURLE_OK;
    long status = 0;
    std::string contentType;
    std::string body;
};

size_t Collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

// One request with libcurl; `setup` adds options.
template <typename Setup>
Fetched Fetch(const std::string& url, Setup setup)
{
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    Fetched fetched;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &fetched.body);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROXY, "*");
    setup(curl.get());
    fetched.result = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &fetched.status);
    char* type = nullptr;
    if (curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        fetched.contentType = type;
    return fetched;
}

Fetched Fetch(const std::string& url)
{
    return Fetch(url, [](CURL*) {});
}

// Width and height from a JPEG's first start-of-frame segment; 0, 0 when none.
std::pair<int, int> JpegSize(const std::string& bytes)
{
    size_t at = 2;
    while (at + 9 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
        auto marker = static_cast<unsigned char>(bytes[at + 1]);
        auto length = static_cast<size_t>((static_cast<unsigned char>(bytes[at + 2]) << 8) |
                                          static_cast<unsigned char>(bytes[at + 3]));
        if (marker == 0xC0 || marker == 0xC2) {
            auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
            return {(byte(7) << 8) | byte(8), (byte(5) << 8) | byte(6)};
        }
        at += 2 + length;
    }
    return {0, 0};
}

// The paths of every "<img src=\"<prefix>..." in `text`, in order.
std::vector<std::string> PicturePathsIn(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> paths;
    const std::string tag = "<img src=\"" + prefix;
    for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        size_t start = at + tag.size();
        paths.push_back(text.substr(start, text.find('"', start) - start));
    }
    return paths;
}

class Gallery : public ::testing::Test {
protected:
    static void SetUpTestSuite() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    gallery::GalleryServer m_server{0};
};

TEST_F(Gallery, APageHoldsItsSharePicturesInTheSectionAndOthersOutsideIt)
{
    Fetched page = Fetch(m_server.Address() + "/tu/353/1075110353_2.shtml");
    ASSERT_EQ(page.result, CURLE_OK);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.contentType, "text/html; charset=gb2312");

    // The page is GBK: its UTF-8 form holds the markers, and the raw bytes do
    // not (they would if the page had been sent as UTF-8).
    const std::string text = codepage::GbkToUtf8(page.body);
    EXPECT_EQ(page.body.find("分享"), std::string::npos);
    const size_t sectionStart = text.find("分享");
    const size_t sectionEnd = text.find("<!--大图默认end-->");
    ASSERT_NE(sectionStart, std::string::npos);
    ASSERT_NE(sectionEnd, std::string::npos);
    ASSERT_LT(sectionStart, sectionEnd);

    const std::string host = m_server.Address();
    const std::string section = text.substr(sectionStart, sectionEnd - sectionStart);
    std::vector<std::string> inSection = PicturePathsIn(section, host + "/740x-/uploadImages/");
    ASSERT_GE(inSection.size(), 2u);
    ASSERT_LE(inSection.size(), 4u);
    for (size_t k = 0; k < inSection.size(); ++k)
        EXPECT_EQ(inSection[k], "1075110353/2_" + std::to_string(k + 1) + ".jpg");

    // Pictures on the picture host before and after the section, and one on
    // another host inside it.
    EXPECT_EQ(PicturePathsIn(text.substr(0, sectionStart), host).size(), 1u);
    EXPECT_EQ(PicturePathsIn(text.substr(sectionEnd), host).size(), 1u);
    EXPECT_EQ(PicturePathsIn(section, std::string(gallery::kForeignHost)).size(), 1u);
    EXPECT_EQ(PicturePathsIn(section, "").size(), inSection.size() + 1);
}

TEST_F(Gallery, PicturesAreJpegsOfVariedSizesSentByteForByte)
{
    std::set<std::pair<int, int>> sizes;
    for (int page = 1; page <= gallery::kPagesPerAlbum; ++page) {
        for (const std::string& path : gallery::SharePicturePaths({"1075110353", page})) {
            Fetched picture = Fetch(m_server.Address() + path);
            ASSERT_EQ(picture.result, CURLE_OK) << path;
            EXPECT_EQ(picture.status, 200) << path;
            EXPECT_EQ(picture.contentType, "image/jpeg");
            ASSERT_GT(picture.body.size(), 4u);
            EXPECT_EQ(picture.body.substr(0, 2), "\xFF\xD8") << path;
            EXPECT_EQ(picture.body.substr(picture.body.size() - 2), "\xFF\xD9") << path;

            auto address = gallery::ParsePicturePath(path);
            ASSERT_TRUE(address) << path;
            auto expected = gallery::PictureBytes(*address);
            EXPECT_EQ(picture.body, std::string(expected.begin(), expected.end())) << path;
            std::pair<int, int> size = JpegSize(picture.body);
            EXPECT_EQ(size, gallery::PictureSize(*address)) << path;
            sizes.insert(size);
        }
    }
    EXPECT_GE(sizes.size(), 5u);
}

TEST_F(Gallery, AnythingButAPageOrAPictureOfTheAlbumIsNotFound)
{
    for (const char* path : {"/tu/353/1075110353_0.shtml", "/tu/353/1075110353_6.shtml", "/tu/353/1075110353.shtml",
                             "/tu/353/abc_1.shtml", "/740x-/uploadImages/1075110353/1_9.jpg",
                             "/740x-/uploadImages/1075110353/related.jpg", "/", "/fault/unknown"}) {
        Fetched fetched = Fetch(m_server.Address() + path);
        EXPECT_EQ(fetched.result, CURLE_OK) << path;
        EXPECT_EQ(fetched.status, 404) << path;
    }
}

TEST_F(Gallery, AHeadRequestGetsTheLengthWithoutTheBody)
{
    const std::string url = m_server.Address() + "/tu/1_1.shtml";
    Fetched full = Fetch(url);
    curl_off_t length = -1;
    Fetched head = Fetch(url, [&](CURL* curl) { curl_easy_setopt(curl, CURLOPT_NOBODY, 1L); });
    // The length the head announced, read from a second head request.
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_NOBODY, 1L);
    ASSERT_EQ(curl_easy_perform(curl.get()), CURLE_OK);
    curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);

    ASSERT_EQ(head.result, CURLE_OK);
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.body.empty());
    EXPECT_EQ(length, static_cast<curl_off_t>(full.body.size()));
    EXPECT_GT(full.body.size(), 0u);
}

TEST_F(Gallery, FaultModesFailTheWayTheirNamesSay)
{
    const std::string base = m_server.Address();
    const std::string picture = gallery::SharePicturePaths({"7", 1})[0];

    Fetched status = Fetch(base + "/fault/status/503");
    EXPECT_EQ(status.result, CURLE_OK);
    EXPECT_EQ(status.status, 503);
    EXPECT_EQ(status.body, "status 503\n");

    EXPECT_EQ(Fetch(base + "/fault/reset" + picture).result, CURLE_RECV_ERROR);

    Fetched truncated = Fetch(base + "/fault/truncated" + picture);
    EXPECT_EQ(truncated.result, CURLE_PARTIAL_FILE);
    auto whole = gallery::PictureBytes(*gallery::ParsePicturePath(picture));
    EXPECT_EQ(truncated.body, std::string(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)));

    Fetched loop = Fetch(base + "/fault/redirect-loop", [](CURL* curl) {
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    });
    EXPECT_EQ(loop.result, CURLE_TOO_MANY_REDIRECTS);

    Fetched oversized = Fetch(base + "/fault/oversized/64", [](CURL* curl) {
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(1 << 20));
    });
    EXPECT_EQ(oversized.result, CURLE_FILESIZE_EXCEEDED);

    Fetched empty = Fetch(base + "/fault/empty" + picture);
    EXPECT_EQ(empty.result, CURLE_OK);
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.empty());

    // Slow, but whole.
    Fetched slow = Fetch(base + "/fault/slow/5" + picture);
    EXPECT_EQ(slow.result, CURLE_OK);
    EXPECT_EQ(slow.body, std::string(whole.begin(), whole.end()));
}

TEST(GalleryServer, EndsWhileATransferIsUnderWayAndTheClientSeesTheEnd)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    auto server = std::make_unique<gallery::GalleryServer>(0);
    const std::string url = server->Address() + "/fault/slow/60000" + gallery::SharePicturePaths({"7", 1})[0];
    Fetched fetched;
    std::thread client([&] { fetched = Fetch(url); });
    while (server->RequestCount() == 0)
        std::this_thread::yield();
    server.reset();  // must not wait out the minute between pieces
    client.join();
    EXPECT_NE(fetched.result, CURLE_OK);
}

TEST(GalleryRequest, ReadsTheRequestLineAndRefusesMalformedOnes)
{
    auto line = gallery::ParseRequestHead("GET /tu/1_2.shtml?a=b HTTP/1.1\r\nHost: x\r\n\r\n");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->method, "GET");
    EXPECT_EQ(line->path, "/tu/1_2.shtml");
    for (const char* head : {"GET /a HTTP/1.1\r\n",  // the head never ended
                             "GET /a\r\n\r\n", "GET  HTTP/1.1\r\n\r\n", " /a HTTP/1.1\r\n\r\n",
                             "GET /a FTP/1\r\n\r\n", ""})
        EXPECT_FALSE(gallery::ParseRequestHead(head)) << head;

    EXPECT_EQ(gallery::LeadingNumber("/20/740x-/a.jpg"), (std::pair<int, std::string_view>{20, "/740x-/a.jpg"}));
    EXPECT_FALSE(gallery::LeadingNumber("/99999999999/x"));
    EXPECT_FALSE(gallery::LeadingNumber("//x"));
    EXPECT_FALSE(gallery::LeadingNumber("/2x"));
}

TEST(GalleryRequest, KeepsAliveAsTheClientAsks)
{
    EXPECT_TRUE(gallery::WantsKeepAlive("GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_FALSE(gallery::WantsKeepAlive("GET / HTTP/1.1\r\nConnection:  Close \r\n\r\n"));
    EXPECT_FALSE(gallery::WantsKeepAlive("GET / HTTP/1.0\r\nHost: x\r\n\r\n"));
    EXPECT_TRUE(gallery::WantsKeepAlive("GET / HTTP/1.0\r\nCONNECTION: keep-alive\r\n\r\n"));
    EXPECT_FALSE(gallery::WantsKeepAlive("GET / HTTP/1.1\r\nX-Connection: keep-alive\r\nconnection: close\r\n\r\n"));
}

TEST(GalleryServer, AKeptAliveConnectionServesTheNextRequestAndAFaultEndsIt)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    gallery::GalleryServer server(0);
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    std::string body;
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    auto get = [&](const std::string& path) {
        body.clear();
        curl_easy_setopt(curl.get(), CURLOPT_URL, (server.Address() + path).c_str());
        EXPECT_EQ(curl_easy_perform(curl.get()), CURLE_OK) << path;
        long connects = -1;
        curl_easy_getinfo(curl.get(), CURLINFO_NUM_CONNECTS, &connects);
        return connects;
    };
    EXPECT_EQ(get("/tu/1_1.shtml"), 1);
    EXPECT_EQ(get("/tu/1_2.shtml"), 0);  // the same connection
    EXPECT_NE(body.find(codepage::Utf8ToGbk("第2页")), std::string::npos);
    EXPECT_EQ(get("/nothing"), 0);        // a 404 keeps it too
    EXPECT_EQ(get("/fault/status/503"), 0);
    EXPECT_EQ(get("/tu/1_3.shtml"), 1);  // the fault closed it
}

TEST(GalleryServer, TheShapeSetsPagesPicturesAndExactPictureSizes)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    gallery::GalleryShape shape{.pagesPerAlbum = 7, .picturesPerPage = 20, .pictureBytes = 50000};
    gallery::GalleryServer server(0, shape);
    EXPECT_EQ(Fetch(server.Address() + "/a/9_7.shtml").status, 200);
    EXPECT_EQ(Fetch(server.Address() + "/a/9_8.shtml").status, 404);

    const std::string text = codepage::GbkToUtf8(Fetch(server.Address() + "/a/9_7.shtml").body);
    const std::string section = text.substr(text.find("分享"), text.find("<!--大图默认end-->") - text.find("分享"));
    std::vector<std::string> paths = PicturePathsIn(section, server.Address());
    ASSERT_EQ(paths.size(), 20u);
    EXPECT_EQ(paths, gallery::SharePicturePaths({"9", 7}, shape));
    for (const std::string& path : {paths.front(), paths.back()}) {
        Fetched picture = Fetch(server.Address() + path);
        EXPECT_EQ(picture.status, 200);
        EXPECT_EQ(picture.body.size(), 50000u) << path;
        EXPECT_EQ(picture.body.substr(0, 2), "\xFF\xD8");
    }
    EXPECT_EQ(Fetch(server.Address() + "/740x-/uploadImages/9/7_21.jpg").status, 404);
}

TEST(GalleryServer, RefusesAPortThatIsTaken)
{
    gallery::GalleryServer first(0);
    EXPECT_THROW(gallery::GalleryServer second(first.Port()), std::runtime_error);
}

}  // namespace
