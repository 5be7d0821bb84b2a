// The background music: the exact RIFF layout the player and the form
// description expect, and a signal that loops without a click and never
// clips.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/tools/assets/AssetBytes.h"

namespace {

using namespace vellumry::test;

constexpr std::size_t kFileSize = 10956878;
constexpr std::uint32_t kDataSize = 10956800;
constexpr std::size_t kFmtAt = 12;
constexpr std::size_t kListAt = 36;
constexpr std::uint32_t kListSize = 26;
constexpr std::size_t kDataAt = 70;
constexpr int kSampleRate = 48000;

class MusicFile : public ::testing::Test {
protected:
    // Read once for all the tests of the program.
    static const std::string& Wav()
    {
        static const std::string wav = ReadAsset("music.wav");
        return wav;
    }

    // One channel of the data chunk as numbers.
    static std::vector<int> Channel(int channel)
    {
        std::vector<int> samples;
        const std::size_t frames = kDataSize / 4;
        samples.reserve(frames);
        for (std::size_t f = 0; f < frames; ++f)
            samples.push_back(I16At(Wav(), kDataAt + 8 + f * 4 + static_cast<std::size_t>(channel) * 2));
        return samples;
    }
};

TEST_F(MusicFile, ChunksSitAtTheirExactOffsets)
{
    const std::string& wav = Wav();
    ASSERT_EQ(wav.size(), kFileSize);
    EXPECT_EQ(TagAt(wav, 0), "RIFF");
    EXPECT_EQ(U32At(wav, 4), kFileSize - 8);
    EXPECT_EQ(TagAt(wav, 8), "WAVE");
    EXPECT_EQ(TagAt(wav, kFmtAt), "fmt ");
    EXPECT_EQ(U32At(wav, kFmtAt + 4), 16u);
    EXPECT_EQ(TagAt(wav, kListAt), "LIST");
    EXPECT_EQ(U32At(wav, kListAt + 4), kListSize);
    EXPECT_EQ(TagAt(wav, kDataAt), "data");
    EXPECT_EQ(U32At(wav, kDataAt + 4), kDataSize);
    EXPECT_EQ(kDataAt + 8 + kDataSize, wav.size());
}

TEST_F(MusicFile, FormatIs48kHzStereo16BitPcm)
{
    const std::string& wav = Wav();
    const std::size_t at = kFmtAt + 8;
    EXPECT_EQ(U16At(wav, at), 1u) << "format tag (1 = PCM)";
    EXPECT_EQ(U16At(wav, at + 2), 2u) << "channels";
    EXPECT_EQ(U32At(wav, at + 4), 48000u) << "samples per second";
    EXPECT_EQ(U32At(wav, at + 8), 192000u) << "bytes per second";
    EXPECT_EQ(U16At(wav, at + 12), 4u) << "block align";
    EXPECT_EQ(U16At(wav, at + 14), 16u) << "bits per sample";
    // 2739200 frames: 57.07 seconds.
    EXPECT_EQ(kDataSize / 4, 2739200u);
}

TEST_F(MusicFile, InfoListHoldsWellFormedTextEntries)
{
    const std::string& wav = Wav();
    EXPECT_EQ(TagAt(wav, kListAt + 8), "INFO");
    std::size_t at = kListAt + 12;
    const std::size_t end = kListAt + 8 + kListSize;
    int entries = 0;
    while (at < end) {
        ASSERT_LE(at + 8, end) << "entry header runs past the list";
        const std::string id = TagAt(wav, at);
        const std::uint32_t size = U32At(wav, at + 4);
        SCOPED_TRACE("entry " + id);
        EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
        ASSERT_GE(size, 1u);
        ASSERT_LE(at + 8 + size + (size & 1), end) << "entry of " << size << " bytes runs past the list";
        const std::string text = wav.substr(at + 8, size);
        EXPECT_EQ(text.back(), '\0') << "text not terminated";
        EXPECT_EQ(text.find('\0'), size - 1) << "zero inside the text";
        at += 8 + size + (size & 1);
        ++entries;
    }
    EXPECT_EQ(at, end);
    EXPECT_GE(entries, 1);
}

// How far the jump from the last frame to the first stands out among the
// piece's own neighbouring frames, by two measures: the step between
// samples, and the change of slope (a kink clicks too).
struct SeamCase {
    const char* name;
    int channel;
    bool slope;
};

class MusicSeam : public MusicFile, public ::testing::WithParamInterface<SeamCase> {};

TEST_P(MusicSeam, LoopPointIsNoRougherThanTheMusicItself)
{
    const SeamCase& c = GetParam();
    const std::vector<int> x = Channel(c.channel);
    const std::size_t n = x.size();
    // The measure at frame i looks at frames i - 2, i - 1 and i (indices wrap).
    auto measure = [&](std::size_t i) {
        const int a = x[(i + n - 2) % n];
        const int b = x[(i + n - 1) % n];
        const int d = x[i];
        return c.slope ? std::abs(d - 2 * b + a) : std::abs(d - b);
    };
    std::vector<int> inside;
    inside.reserve(n);
    for (std::size_t i = 2; i < n; ++i)
        inside.push_back(measure(i));
    std::sort(inside.begin(), inside.end());
    const int typical = inside[inside.size() * 99 / 100];
    const int seam = std::max(measure(0), measure(1));
    EXPECT_LE(seam, typical) << "the loop point jumps by " << seam << " where 99% of the piece moves by at most "
                             << typical;

    // Sound continues across the seam: a silent edge would be trivially smooth.
    double energy = 0;
    const std::size_t window = kSampleRate / 20;
    for (std::size_t i = 0; i < window; ++i)
        energy += static_cast<double>(x[i]) * x[i] + static_cast<double>(x[n - 1 - i]) * x[n - 1 - i];
    EXPECT_GT(std::sqrt(energy / (2 * window)), 300.0) << "the music is near silent at the loop point";
}

INSTANTIATE_TEST_SUITE_P(Channels, MusicSeam,
                         ::testing::Values(SeamCase{"LeftStep", 0, false}, SeamCase{"RightStep", 1, false},
                                           SeamCase{"LeftSlope", 0, true}, SeamCase{"RightSlope", 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusicFile, NoSampleClipsAndNoStretchFallsSilent)
{
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel == 0 ? "left" : "right");
        const std::vector<int> x = Channel(channel);
        int peak = 0;
        int run = 0;
        int longestRun = 0;
        for (int v : x) {
            peak = std::max(peak, std::abs(v));
            run = std::abs(v) >= 32767 ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
        EXPECT_LT(longestRun, 2) << "samples at full scale in a row; peak " << peak;

        // A quarter of a second anywhere holds audible music (above -40 dBFS).
        const std::size_t window = kSampleRate / 4;
        for (std::size_t start = 0; start + window <= x.size(); start += window) {
            double energy = 0;
            for (std::size_t i = start; i < start + window; ++i)
                energy += static_cast<double>(x[i]) * x[i];
            const double rms = std::sqrt(energy / window);
            ASSERT_GT(rms, 327.0) << "near silence at " << static_cast<double>(start) / kSampleRate << " s";
        }
    }
}

}  // namespace
