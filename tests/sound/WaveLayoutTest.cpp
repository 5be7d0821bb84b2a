// The WAV parser: chunk order, sizes that lie, formats that do not add up.
// Every input is a vector of exactly its own size, so a read past the end is
// caught by the address sanitizer.

#include <gtest/gtest.h>

#include <functional>

#include "sound/WaveLayout.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/support/CaseTable.h"

namespace {

using namespace vellumry::sound;
using namespace vellumry::sound::test;
using vellumry::test::PrintTo;

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const Bytes kList = {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0};  // 15 bytes: odd

struct LayoutCase {
    const char* label;
    std::function<Bytes()> make;
    Bytes samples;  // expected; empty when refused
};

class WaveParsing : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WaveParsing, FindsOrRefuses)
{
    const LayoutCase& row = GetParam();
    Bytes data = row.make();
    auto layout = ParseWave(data);
    if (row.samples.empty()) {
        EXPECT_FALSE(layout.has_value());
        return;
    }
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(Bytes(layout->samples.begin(), layout->samples.end()), row.samples);
    EXPECT_GE(layout->format.size(), 16u);
}

Bytes Fmt()
{
    return PcmFormat(2, 48000, 16);
}

Bytes WithFormatField(std::size_t offset, std::uint16_t value)
{
    Bytes format = Fmt();
    format[offset] = static_cast<std::uint8_t>(value);
    format[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    return Riff({{"fmt ", format}, {"data", kSamples}});
}

const Bytes kFirstEight(kSamples.begin(), kSamples.begin() + 8);

INSTANTIATE_TEST_SUITE_P(
    Layouts, WaveParsing,
    ::testing::Values(
        LayoutCase{"FmtListData", [] { return Riff({{"fmt ", Fmt()}, {"LIST", {1, 2}}, {"data", kSamples}}); }, kSamples},
        LayoutCase{"DataBeforeFmt", [] { return Riff({{"data", kSamples}, {"fmt ", Fmt()}}); }, kSamples},
        LayoutCase{"ThirtyFiveBytes",
                   [] {
                       Bytes wav = Riff({{"fmt ", Fmt()}, {"data", {1, 2, 3}}});
                       wav.resize(35);
                       return wav;
                   },
                   {}},
        LayoutCase{"EmptyDataChunk", [] { return Riff({{"fmt ", Fmt()}, {"data", {}}}); }, {}},
        LayoutCase{"NoDataChunk", [] { return Riff({{"fmt ", Fmt()}, {"LIST", kSamples}}); }, {}},
        LayoutCase{"NoFmtChunk", [] { return Riff({{"LIST", Fmt()}, {"data", kSamples}}); }, {}},
        LayoutCase{"NotWave",
                   [] {
                       Bytes wav = Riff({{"fmt ", Fmt()}, {"data", kSamples}});
                       wav[8] = 'A';
                       return wav;
                   },
                   {}},
        // Sizes that run past the end of the bytes.
        LayoutCase{"DataRunsPastTheEndIsCut",
                   [] { return Riff({{"fmt ", Fmt()}, {"data", kSamples, 0x7FFFFFF0}}); }, kSamples},
        LayoutCase{"DataCutToWholeBlocks",
                   [] { return Riff({{"fmt ", Fmt()}, {"data", Bytes(kSamples.begin(), kSamples.begin() + 11)}}); },
                   kFirstEight},
        LayoutCase{"DataShorterThanABlock", [] { return Riff({{"fmt ", Fmt()}, {"data", {1, 2, 3}}}); }, {}},
        LayoutCase{"FmtRunsPastTheEnd", [] { return Riff({{"data", kSamples}, {"fmt ", Fmt(), 0xFFFFFFFF}}); }, {}},
        LayoutCase{"HugeChunkBeforeFmt",
                   [] { return Riff({{"LIST", kList, 0xFFFFFFF0}, {"fmt ", Fmt()}, {"data", kSamples}}); }, {}},
        LayoutCase{"RiffSizeEndsTheWalkEarly",
                   [] { return Riff({{"data", kSamples}, {"fmt ", Fmt()}}, 8 + 12); }, {}},
        // Chunks after an odd size, with and without the pad byte.
        LayoutCase{"OddChunkWithPad",
                   [] { return Riff({{"fmt ", Fmt()}, {"LIST", kList, -1, true}, {"data", kSamples}}); }, kSamples},
        LayoutCase{"OddChunkWithoutPad",
                   [] { return Riff({{"fmt ", Fmt()}, {"LIST", kList}, {"data", kSamples}}); }, kSamples},
        // Formats that do not add up.
        LayoutCase{"FmtShorterThanPcm",
                   [] {
                       Bytes format = Fmt();
                       format.resize(14);
                       return Riff({{"fmt ", format}, {"data", kSamples}});
                   },
                   {}},
        LayoutCase{"ZeroChannels", [] { return WithFormatField(2, 0); }, {}},
        LayoutCase{"ZeroSampleRate", [] { return WithFormatField(4, 0); }, {}},
        LayoutCase{"ZeroBlockAlign", [] { return WithFormatField(12, 0); }, {}},
        LayoutCase{"BlockAlignDoesNotMatch", [] { return WithFormatField(12, 6); }, {}},
        LayoutCase{"TwelveBitPcm", [] { return WithFormatField(14, 12); }, {}},
        LayoutCase{"NonPcmWithoutItsExtension",
                   [] {
                       Bytes format = Fmt();
                       format[0] = 2;  // ADPCM: cbSize and cbSize bytes must follow
                       PutLe16(format, 32);
                       return Riff({{"fmt ", format}, {"data", kSamples}});
                   },
                   {}},
        LayoutCase{"NonPcmWithItsExtension",
                   [] {
                       Bytes format = Fmt();
                       format[0] = 3;
                       PutLe16(format, 2);
                       format.insert(format.end(), {0, 0});
                       return Riff({{"fmt ", format}, {"data", kSamples}});
                   },
                   kSamples}),
    vellumry::test::RowLabel());

}  // namespace
