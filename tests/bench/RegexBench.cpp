// The regular-expression object against raw PCRE2-JIT matching, in the same
// run: RegexMatcher's Create, GetMatchCount and GetSubMatchText for every
// match, with the gallery parser's picture pattern over a 1 MB GBK page that
// holds 500 picture tags, against compiling the same pattern with PCRE2-JIT,
// matching it globally and copying out every first group, done two ways:
// - on the page as the component must take it: converted to UTF-16 (the
//   BSTR subject), matched with the component's options (UTF, no case);
// - straight on the GBK bytes (8-bit), the least any matching can cost.
// The ratios raw / RegexMatcher measure the cost of the conversions and the
// calls by name (1.0: no cost).
//   regex_bench [runs]

#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/codepage/CodePage.h"
#include "tests/support/AutomationSetup.h"
#include "web/RegexMatcher.h"

namespace {

constexpr int kPictures = 500;
constexpr std::size_t kPageBytes = 1 << 20;
const std::string kHost = "http://127.0.0.1:8080";

std::string Gbk(const std::string& utf8)
{
    return vellumry::codepage::Utf8ToGbk(utf8);
}

// A gallery page: Chinese text and markup, the picture tags spread evenly,
// with pictures of another host between them.
std::string MakePage()
{
    std::string filler = Gbk("<div class=\"text\"><p>这是一段用来填充页面的中文说明文字，图片集的介绍与评论。</p>"
                             "<a href=\"/gallery/list_2.shtml\">下一页</a><img src=\"/static/icon.gif\"></div>\n");
    std::string page = Gbk("<html><head><title>图片集</title></head><body><div>分享到</div>\n");
    std::size_t share = (kPageBytes - page.size()) / kPictures;
    for (int i = 0; i < kPictures; ++i) {
        std::string tag = "<p><img src=\"" + kHost + "/740x-/uploadImages/2024/01/" + std::to_string(100000 + i) +
                          ".jpg\" alt=\"" + Gbk("图") + "\"></p>\n";
        std::string other = "<img src=\"http://cdn.example.com/740x-/uploadImages/x" + std::to_string(i) + ".jpg\">\n";
        std::string block = tag + other;
        while (block.size() + filler.size() < share)
            block += filler;
        page += block;
    }
    page += Gbk("<!--大图默认end--></body></html>\n");
    return page;
}

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The time spent in Create and GetMatchCount, of the last run.
double g_createMilliseconds = 0;

std::size_t WithRegexMatcher(const std::string& page, const std::string& pattern)
{
    auto start = std::chrono::steady_clock::now();
    vellumry::web::RegexMatcher matcher;
    matcher.Create(pattern.c_str(), page.c_str(), false, false, true, true);
    std::int32_t count = matcher.GetMatchCount();
    g_createMilliseconds = Milliseconds(std::chrono::steady_clock::now() - start);
    std::size_t bytes = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        vellumry::runtime::OwnedText path = matcher.GetSubMatchText(i, 1);
        bytes += path ? std::char_traits<char>::length(path.get()) : 0;
    }
    return bytes;
}

std::size_t WithRawPcre2(const std::string& page, const std::string& pattern)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_8* code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(pattern.data()), pattern.size(), PCRE2_CASELESS,
                                     &error, &offset, nullptr);
    pcre2_jit_compile_8(code, PCRE2_JIT_COMPLETE);
    pcre2_match_data_8* data = pcre2_match_data_create_from_pattern_8(code, nullptr);
    std::size_t bytes = 0;
    PCRE2_SIZE start = 0;
    std::vector<std::string> paths;
    while (start <= page.size()) {
        int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(page.data()), page.size(), start, 0, data, nullptr);
        if (rc < 0)
            break;
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer_8(data);
        paths.emplace_back(page.data() + vector[2], vector[3] - vector[2]);
        bytes += paths.back().size();
        start = vector[1] > vector[0] ? vector[1] : vector[1] + 1;
    }
    pcre2_match_data_free_8(data);
    pcre2_code_free_8(code);
    return bytes;
}

// The same work on the page in the component's own form: converted to
// UTF-16, then matched with the component's options (UTF, ignoring case).
std::size_t WithRawPcre2OnUtf16(const std::string& page, const std::string& pattern)
{
    std::u16string wide = vellumry::codepage::GbkToUtf16(page);
    std::u16string widePattern(pattern.begin(), pattern.end());
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_16* code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(widePattern.data()), widePattern.size(),
                                           PCRE2_CASELESS | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &error, &offset,
                                           nullptr);
    pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE);
    pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(code, nullptr);
    std::size_t bytes = 0;
    PCRE2_SIZE start = 0;
    while (start <= wide.size()) {
        int rc = pcre2_match_16(code, reinterpret_cast<PCRE2_SPTR16>(wide.data()), wide.size(), start, 0, data, nullptr);
        if (rc < 0)
            break;
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer_16(data);
        bytes += vellumry::codepage::Utf16ToGbk(std::u16string_view(wide).substr(vector[2], vector[3] - vector[2])).size();
        start = vector[1] > vector[0] ? vector[1] : vector[1] + 1;
    }
    pcre2_match_data_free_16(data);
    pcre2_code_free_16(code);
    return bytes;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
    vellumry::test::InstallAutomationForTests();
    std::string page = MakePage();
    std::string marked = Gbk("<img src=#引号" + kHost + "/740x-/uploadImages/(.*?)#引号([\\S\\s]*?)");
    std::string quoted = "<img src=\"" + kHost + "/740x-/uploadImages/(.*?)\"([\\S\\s]*?)";

    std::size_t ours = WithRegexMatcher(page, marked);
    std::size_t raw = WithRawPcre2(page, quoted);
    if (ours != raw || ours == 0) {
        std::fprintf(stderr, "the two disagree: %zu and %zu bytes of picture paths\n", ours, raw);
        return 1;
    }
    std::vector<double> matcherTimes;
    std::vector<double> createTimes;
    std::vector<double> rawTimes;
    std::vector<double> wideTimes;
    for (int i = 0; i < runs; ++i) {
        auto a = std::chrono::steady_clock::now();
        WithRegexMatcher(page, marked);
        auto b = std::chrono::steady_clock::now();
        WithRawPcre2(page, quoted);
        auto c = std::chrono::steady_clock::now();
        WithRawPcre2OnUtf16(page, quoted);
        wideTimes.push_back(Milliseconds(std::chrono::steady_clock::now() - c));
        matcherTimes.push_back(Milliseconds(b - a));
        createTimes.push_back(g_createMilliseconds);
        rawTimes.push_back(Milliseconds(c - b));
    }
    double matcher = Median(matcherTimes);
    double direct = Median(rawTimes);
    std::printf("page: %zu bytes, %d picture tags, %zu bytes of paths\n", page.size(), kPictures, ours);
    std::printf("RegexMatcher (Create, GetMatchCount, GetSubMatchText each): %.3f ms (median of %d)\n", matcher, runs);
    std::printf("  of which Create and GetMatchCount:                       %.3f ms\n", Median(createTimes));
    double wide = Median(wideTimes);
    std::printf("raw PCRE2-JIT on the page converted to UTF-16:            %.3f ms\n", wide);
    std::printf("raw PCRE2-JIT straight on the GBK bytes:                  %.3f ms\n", direct);
    std::printf("ratio raw / RegexMatcher: %.2f against the UTF-16 matching, %.2f against the GBK bytes\n",
                wide / matcher, direct / matcher);
    return 0;
}
