// FindText, ReplaceSubText and SplitText over a 1 MB GBK page, each beside a
// plain byte search doing the same job in the same run (memmem,
// std::string::find), so the ratio of their throughputs can be read off.
//
//   build/release/tests/bench/text_commands_bench

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/CommandCall.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"

namespace {

using namespace vellumry::runtime;

constexpr std::size_t kPageSize = 1 << 20;

// A gallery page: HTML lines of ASCII with GBK captions ("美丽的风景图片第",
// "张", "下一页"), CR LF line ends, the sought end tag once at the very end.
const std::string& Page()
{
    static const std::string page = [] {
        const std::string caption = "\xC3\xC0\xC0\xF6\xB5\xC4\xB7\xE7\xBE\xB0\xCD\xBC\xC6\xAC\xB5\xDA";
        const std::string piece = "\xD5\xC5";
        const std::string next = "\xCF\xC2\xD2\xBB\xD2\xB3";
        std::string text;
        for (int i = 0; text.size() < kPageSize - 64; ++i) {
            std::string n = std::to_string(i);
            text += "<li><a href=\"/pic/" + n + ".html\"><img src=\"http://127.0.0.1/p/" + n + ".jpg\" alt=\"" +
                    caption + n + piece + "\"></a>" + next + "</li>\r\n";
        }
        text += "</ul>";
        return text;
    }();
    return page;
}

TypedValue TextArg(const std::string& text)
{
    return TypedValue::OfPointer(kTextType, text.c_str());
}

TypedValue Invoke(CoreCommand command, std::initializer_list<TypedValue> arguments)
{
    return CallCoreCommand(CoreCommandSlot(command), static_cast<std::int32_t>(arguments.size()), arguments.begin());
}

void Processed(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Page().size()));
}

// ---- Finding a text near the end of the page ----------------------------------------

void BM_FindText(benchmark::State& state)
{
    InstallRuntimeCoreCommands();
    std::string sought = "</ul>";
    for (auto _ : state)
        benchmark::DoNotOptimize(Invoke(CoreCommand::FindText, {TextArg(Page()), TextArg(sought)}).Int());
    Processed(state);
}

void BM_FindTextIgnoringCase(benchmark::State& state)
{
    InstallRuntimeCoreCommands();
    std::string sought = "</UL>";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Invoke(CoreCommand::FindText, {TextArg(Page()), TextArg(sought), TypedValue(), TypedValue::OfInt(1)}).Int());
    Processed(state);
}

void BM_Memmem(benchmark::State& state)
{
    const std::string& page = Page();
    for (auto _ : state)
        benchmark::DoNotOptimize(memmem(page.data(), page.size(), "</ul>", 5));
    Processed(state);
}

void BM_StringFind(benchmark::State& state)
{
    const std::string& page = Page();
    for (auto _ : state)
        benchmark::DoNotOptimize(page.find("</ul>"));
    Processed(state);
}

// ---- Replacing every line end ------------------------------------------------------

// Line ends (ASCII), or the two-byte "张" (inside runs of two-byte text,
// where every candidate needs its character boundary checked) by "幅".
const char* const kSought[] = {"\r\n", "\xD5\xC5"};
const char* const kReplacement[] = {"><br><", "\xB7\xF9"};

void BM_ReplaceSubText(benchmark::State& state)
{
    InstallRuntimeCoreCommands();
    std::string sought = kSought[state.range(1)];
    std::string replacement = kReplacement[state.range(1)];
    bool ignoreCase = state.range(0) != 0;
    for (auto _ : state) {
        TypedValue result = Invoke(CoreCommand::ReplaceSubText, {TextArg(Page()), TextArg(sought), TextArg(replacement),
                                                                 TypedValue(), TypedValue(),
                                                                 TypedValue::OfBool(!ignoreCase)});
        RuntimeFree(result.Pointer<char>());
    }
    Processed(state);
}

void BM_ReplaceWithStringFind(benchmark::State& state)
{
    const std::string& page = Page();
    std::string sought = kSought[state.range(0)];
    std::string replacement = kReplacement[state.range(0)];
    for (auto _ : state) {
        std::string out;
        out.reserve(page.size());
        std::size_t from = 0;
        for (std::size_t at = page.find(sought); at != std::string::npos; at = page.find(sought, from)) {
            out.append(page, from, at - from);
            out.append(replacement);
            from = at + sought.size();
        }
        out.append(page, from);
        benchmark::DoNotOptimize(out.data());
    }
    Processed(state);
}

// ---- Splitting into lines ---------------------------------------------------------

void BM_SplitText(benchmark::State& state)
{
    InstallRuntimeCoreCommands();
    std::string separator = "\r\n";
    for (auto _ : state) {
        TypedValue result = Invoke(CoreCommand::SplitText, {TextArg(Page()), TextArg(separator)});
        FreePointerArray(result.Pointer<void>());
    }
    Processed(state);
}

void BM_SplitWithStringFind(benchmark::State& state)
{
    const std::string& page = Page();
    for (auto _ : state) {
        std::vector<std::string> pieces;
        std::size_t from = 0;
        for (std::size_t at = page.find("\r\n"); at != std::string::npos; at = page.find("\r\n", from)) {
            pieces.emplace_back(page, from, at - from);
            from = at + 2;
        }
        if (from < page.size())
            pieces.emplace_back(page, from);
        benchmark::DoNotOptimize(pieces.data());
    }
    Processed(state);
}

}  // namespace

BENCHMARK(BM_FindText);
BENCHMARK(BM_FindTextIgnoringCase);
BENCHMARK(BM_Memmem);
BENCHMARK(BM_StringFind);
BENCHMARK(BM_ReplaceSubText)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"ignoreCase", "twoByte"});
BENCHMARK(BM_ReplaceWithStringFind)->Arg(0)->Arg(1)->ArgName("twoByte");
BENCHMARK(BM_SplitText);
BENCHMARK(BM_SplitWithStringFind);
