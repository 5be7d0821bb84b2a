// Reading the embedded window template (which maps, checks and fixes up
// every form's unit table, the 11 MB block of the start form included) and
// copying the start form's unit table (what loading the form does for its
// working copy), against a plain memcpy of the same bytes. Both share the
// executable's pages: their cost does not grow with the music.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "app/description/ProgramDescription.h"
#include "forms/description/FormTable.h"

namespace {

using namespace vellumry;

void BM_ReadEmbeddedTemplate(benchmark::State& state)
{
    const runtime::ProgramHeader& header = app::ProgramDescription();
    std::span<const std::uint8_t> stream(header.windowTemplateStart, header.windowTemplateSize);
    for (auto _ : state) {
        auto table = forms::ReadTemplate(stream, header.codeBase);
        if (!table)
            state.SkipWithError("the template does not read");
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * header.windowTemplateSize);
}

void BM_CopyStartFormUnitTable(benchmark::State& state)
{
    const runtime::ProgramHeader& header = app::ProgramDescription();
    auto table = forms::ReadTemplate(std::span(header.windowTemplateStart, header.windowTemplateSize), header.codeBase);
    const forms::UnitTable& units = table->FindForm(app::kStartFormId)->units;
    for (auto _ : state) {
        auto copy = units.Copy();
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * header.windowTemplateSize);
}

// The floor: one allocation and one copy of the whole template.
void BM_MemcpyTemplate(benchmark::State& state)
{
    auto bytes = app::WindowTemplateBytes();
    for (auto _ : state) {
        auto copy = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
        std::memcpy(copy.get(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}

BENCHMARK(BM_ReadEmbeddedTemplate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyStartFormUnitTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyTemplate)->Unit(benchmark::kMicrosecond);

}  // namespace
