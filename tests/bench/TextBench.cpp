// TextLength and ConcatTexts against the C library baseline (strlen, and one
// memcpy of the same total) on short texts and on 1 MB texts.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"

namespace {

using namespace vellumry::runtime;

std::string Sample(size_t length)
{
    // Mixed ASCII and GBK two-byte characters, as pages are.
    std::string text;
    const char* pattern = "img src=\xCD\xBC\xC6\xAC/a.jpg ";
    while (text.size() < length)
        text += pattern;
    text.resize(length);
    return text;
}

void BM_TextLength(benchmark::State& state)
{
    std::string text = Sample(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.c_str();
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(TextLength(p));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_Strlen(benchmark::State& state)
{
    std::string text = Sample(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.c_str();
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(std::strlen(p));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_ConcatTexts(benchmark::State& state)
{
    std::string a = Sample(static_cast<size_t>(state.range(0)) / 2);
    std::string b = Sample(static_cast<size_t>(state.range(0)) - a.size());
    for (auto _ : state) {
        char* joined = ConcatTexts({a.c_str(), b.c_str()});
        benchmark::DoNotOptimize(joined);
        RuntimeFree(joined);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// The baseline: one allocation and one copy of the known total.
void BM_MallocMemcpy(benchmark::State& state)
{
    std::string whole = Sample(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto* copy = static_cast<char*>(std::malloc(whole.size() + 1));
        std::memcpy(copy, whole.data(), whole.size() + 1);
        benchmark::DoNotOptimize(copy);
        std::free(copy);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_TextLength)->Arg(16)->Arg(1 << 20);
BENCHMARK(BM_Strlen)->Arg(16)->Arg(1 << 20);
BENCHMARK(BM_ConcatTexts)->Arg(16)->Arg(1 << 20);
BENCHMARK(BM_MallocMemcpy)->Arg(16)->Arg(1 << 20);

}  // namespace
