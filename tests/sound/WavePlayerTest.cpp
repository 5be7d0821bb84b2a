// The WAV player on the null wave device: what it queues, when, and how it
// ends.

#include <gtest/gtest.h>

#include <memory>

#include "sound/WavePlayer.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/sound/NullSoundFixture.h"

namespace {

using namespace vellumry;
using namespace vellumry::sound;
using namespace vellumry::sound::test;

constexpr std::size_t kPiece = kWavePieceSize;

class WavePlaying : public NullSound {};

std::size_t WritesOf(const mm::NullWaveRecord& record)
{
    return record.writes.size();
}

TEST_F(WavePlaying, DataBeforeFmtPlays)
{
    Bytes wav = Riff({{"data", NumberedPieces(2, kPiece, 100)}, {"fmt ", PcmFormat(2, 48000, 16)}});
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), false));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 3; }));
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.writes[0].length, kPiece);
    EXPECT_EQ(record.writes[0].start, Bytes(mm::kNullWaveRecordedBytes, 1));
    EXPECT_EQ(record.writes[1].start, Bytes(mm::kNullWaveRecordedBytes, 2));
    EXPECT_EQ(record.writes[2].length, 100u);
    EXPECT_EQ(record.writes[2].start, Bytes(64, 3));

    // Without loop the player ends once the device has taken everything.
    mm::GrantNullWaveBytes(2 * kPiece + 100);
    EXPECT_TRUE(Eventually([] { return PlayingWaveCount() == 0; }));
    EXPECT_TRUE(WaitForWave([](const auto& r) { return r.devicesOpen == 0; }));
    EXPECT_EQ(mm::NullWaveSnapshot().bytesTaken, 2 * kPiece + 100);
}

TEST_F(WavePlaying, BadDataStartsNothing)
{
    Bytes thirtyFive = StereoWave({1, 2, 3, 4});
    thirtyFive.resize(35);
    Bytes emptyData = StereoWave({});
    EXPECT_FALSE(PlayWave(MusicBytes::Shared(thirtyFive, nullptr), true));
    EXPECT_FALSE(PlayWave(MusicBytes::Shared(emptyData, nullptr), true));
    EXPECT_FALSE(PlayWaveCopy(emptyData, true));
    EXPECT_EQ(PlayingWaveCount(), 0u);
    EXPECT_EQ(mm::NullWaveSnapshot().devicesOpened, 0u) << "no device was opened";
}

TEST_F(WavePlaying, AChunkPastTheEndIsNeverRead)
{
    // The data chunk claims a megabyte; 1000 bytes are there. The vector
    // holds exactly the file, so reading past it trips the address sanitizer.
    Bytes wav = Riff({{"fmt ", PcmFormat(2, 48000, 16)}, {"data", Bytes(1000, 7), 1 << 20}});
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), false));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 1; }));
    EXPECT_EQ(mm::NullWaveSnapshot().writes[0].length, 1000u);
    mm::GrantNullWaveBytes(1000);
    EXPECT_TRUE(Eventually([] { return PlayingWaveCount() == 0; }));
}

TEST_F(WavePlaying, LoopRestartsOnlyWhenAllHeadersAreBack)
{
    Bytes wav = StereoWave(NumberedPieces(3, kPiece));
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), true));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 3; }));

    // Two of the three come back: the third still plays, nothing restarts.
    mm::GrantNullWaveBytes(2 * kPiece);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.buffersReturned == 2; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(WritesOf(mm::NullWaveSnapshot()), 3u);

    // The last one back: the first sample follows, on an empty queue.
    mm::GrantNullWaveBytes(kPiece);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 6; }));
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.writes[3].start[0], 1);
    EXPECT_EQ(record.writes[3].headersQueuedBefore, 0u);
    EXPECT_EQ(record.writes[4].start[0], 2);
    EXPECT_EQ(record.writes[5].start[0], 3);
}

TEST_F(WavePlaying, AtMostTwentyPiecesAreQueued)
{
    Bytes wav = StereoWave(NumberedPieces(30, kPiece));
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), false));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 20; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(WritesOf(record), 20u);
    EXPECT_EQ(record.maxBytesQueued, 307200u);

    // Each piece that comes back makes room for one more, in order.
    mm::GrantNullWaveBytes(5 * kPiece);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 25; }));
    record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.writes[24].start[0], 25);
    EXPECT_EQ(record.maxBytesQueued, 307200u);
}

TEST_F(WavePlaying, AWholeClipStreamsThroughInPieces)
{
    mm::SetNullWaveSpeed(100);
    Bytes samples = NumberedPieces(150, kPiece, 1204);
    Bytes wav = StereoWave(samples);
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), false));
    ASSERT_TRUE(Eventually([] { return PlayingWaveCount() == 0; }));
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.bytesTaken, samples.size());
    EXPECT_EQ(record.maxBytesQueued, 20 * kPiece);
    ASSERT_EQ(WritesOf(record), 151u);
    EXPECT_EQ(record.writes[150].length, 1204u);
}

TEST_F(WavePlaying, TwoPlayAtOnceAndOneStopEndsBoth)
{
    Bytes first = StereoWave(NumberedPieces(3, kPiece));
    Bytes second = StereoWave(NumberedPieces(4, kPiece));
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(first, nullptr), true));
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(second, nullptr), true));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 7 && r.devicesOpen == 2; }));
    EXPECT_EQ(PlayingWaveCount(), 2u);

    StopAllWaves(true);
    EXPECT_EQ(PlayingWaveCount(), 0u);
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.devicesOpen, 0u);
    EXPECT_EQ(record.buffersReturned, 7u) << "the reset hands every queued piece back";
}

class SilentDevice : public WavePlaying, public ::testing::WithParamInterface<mm::SoundDevices> {};

// A device that never hands a buffer back, or none at all: the player ends
// by itself once the silence limit has passed.
TEST_P(SilentDevice, EndsThePlayerAfterTheSilenceLimit)
{
    mm::SelectSoundDevices(GetParam());
    Bytes wav = StereoWave(NumberedPieces(25, kPiece));
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(wav, nullptr), true));
    ASSERT_TRUE(Eventually([] { return PlayingWaveCount() == 0; }));
    EXPECT_GE(std::chrono::steady_clock::now() - started, kWaveSilenceLimit);
    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    EXPECT_EQ(record.devicesOpen, 0u);
    EXPECT_EQ(WritesOf(record), GetParam() == mm::SoundDevices::Null ? 20u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Devices, SilentDevice, ::testing::Values(mm::SoundDevices::Null, mm::SoundDevices::None),
                         [](const auto& info) { return info.param == mm::SoundDevices::Null ? "NeverAnswers" : "NoDevice"; });

TEST_F(WavePlaying, TheMusicLivesUntilTheFeederEnds)
{
    auto owner = std::make_shared<const Bytes>(StereoWave(NumberedPieces(30, kPiece)));
    std::weak_ptr<const Bytes> watch = owner;
    ASSERT_TRUE(PlayWave(MusicBytes::Shared(*owner, owner), true));
    owner.reset();
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 20; }));
    // The first holder has let go; the feeder still reads pieces 21 to 25.
    EXPECT_FALSE(watch.expired());
    mm::GrantNullWaveBytes(5 * kPiece);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return WritesOf(r) == 25; }));
    EXPECT_EQ(mm::NullWaveSnapshot().writes[24].start[0], 25);

    // A stop without wait returns at once; the music goes when the feeder
    // has ended, not before.
    StopAllWaves(false);
    EXPECT_TRUE(Eventually([&] { return watch.expired(); }));
    EXPECT_EQ(PlayingWaveCount(), 0u);
}

TEST_F(WavePlaying, StartsAndStopsWithoutWaitInQuickSuccession)
{
    mm::SetNullWaveSpeed(50);
    Bytes wav = StereoWave(NumberedPieces(40, kPiece));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(PlayWave(MusicBytes::CopyOf(wav), i % 2 == 0));
        if (i % 3 == 0)
            StopAllWaves(false);
    }
    StopAllWaves(true);
    EXPECT_EQ(PlayingWaveCount(), 0u);
    EXPECT_EQ(mm::NullWaveSnapshot().devicesOpen, 0u);
}

}  // namespace
