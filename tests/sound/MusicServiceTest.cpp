// PlayMusic and StopMusic: classification, copies, the runtime's MIDI
// player and the playlist player.

#include <gtest/gtest.h>

#include <memory>
#include <span>

#include "sound/MusicService.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/sound/NullSoundFixture.h"

namespace {

using namespace vellumry;
using namespace vellumry::sound;
using namespace vellumry::sound::test;

class MusicService : public NullSound {};

TEST_F(MusicService, OnlyWavAndMidiArePlayed)
{
    EXPECT_FALSE(PlayMusic(std::span<const std::uint8_t>{}, true));
    EXPECT_FALSE(PlayMusic(MusicBytes{}, true));
    Bytes notMusic = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' ', 0, 0, 0, 0};
    EXPECT_FALSE(PlayMusic(notMusic, true));
    Bytes fourBytes = {'M', 'T', 'h', 'd'};
    EXPECT_FALSE(PlayMusic(fourBytes, true));
    EXPECT_EQ(mm::NullWaveSnapshot().devicesOpened + mm::NullMidiSnapshot().devicesOpened, 0u);
}

TEST_F(MusicService, WavIsCopiedBeforeTheCallReturns)
{
    {
        Bytes wav = StereoWave(NumberedPieces(25, 15360));
        ASSERT_TRUE(PlayMusic(wav, false));
    }  // the caller's bytes are gone; the player plays on from its copy
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.writes.size() == 20; }));
    mm::GrantNullWaveBytes(25 * 15360);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.writes.size() == 25 && r.devicesOpen == 0; }));
    EXPECT_EQ(mm::NullWaveSnapshot().writes[24].start[0], 25);
}

// Music with an owner is read where it lies: the player holds the owner, so
// the first holder may let go at once, and lets go of it when it has ended.
TEST_F(MusicService, OwnedWavIsReadWhereItLiesAndHeldUntilTheFeederEnds)
{
    auto wav = std::make_shared<const Bytes>(StereoWave(NumberedPieces(25, 15360)));
    std::weak_ptr<const Bytes> watch = wav;
    ASSERT_TRUE(PlayMusic(MusicBytes::Shared(std::span(*wav), wav), false));
    wav.reset();
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.writes.size() == 20; }));
    EXPECT_FALSE(watch.expired());
    mm::GrantNullWaveBytes(25 * 15360);
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.writes.size() == 25 && r.devicesOpen == 0; }));
    EXPECT_EQ(mm::NullWaveSnapshot().writes[24].start[0], 25);
    StopMusic(true);
    EXPECT_TRUE(watch.expired());
}

TEST_F(MusicService, OwnedMidiPlaysOnAfterItsFirstHolderLetsGo)
{
    auto song = std::make_shared<const Bytes>(
        MidiFile({MidiTrack({{0, {0x90, 1, 1}}, {10, {0x80, 1, 0}}, {10, {0xFF, 0x2F, 0}}})}, 96));
    std::weak_ptr<const Bytes> watch = song;
    mm::SetNullMidiSpeed(100);
    EXPECT_TRUE(PlayMusic(MusicBytes::Shared(std::span(*song), song), true));
    song.reset();
    EXPECT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount > 4; }));
    EXPECT_FALSE(watch.expired());
    StopMusic(true);
    EXPECT_TRUE(WaitForMidi([](const auto& r) { return r.devicesOpen == 0; }));
}

TEST_F(MusicService, MidiAnswersTrueEvenWhenItDoesNotLoad)
{
    Bytes badHeader = MidiFile({MidiTrack({{0, {0x90, 1, 1}}})}, 96, 1, 7);
    EXPECT_TRUE(PlayMusic(badHeader, false));
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpened, 0u);

    Bytes song = MidiFile({MidiTrack({{0, {0x90, 1, 1}}, {10, {0x80, 1, 0}}})}, 96);
    EXPECT_TRUE(PlayMusic(song, false));
    EXPECT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount == 2; }));
}

TEST_F(MusicService, NewMidiReplacesThePlayingOne)
{
    Bytes first = MidiFile({MidiTrack({{0, {0x90, 1, 1}}, {10, {0x80, 1, 0}}, {10, {0xFF, 0x2F, 0}}})}, 96);
    Bytes second = MidiFile({MidiTrack({{0, {0x91, 2, 2}}, {10, {0x81, 2, 0}}, {10, {0xFF, 0x2F, 0}}})}, 96);
    mm::SetNullMidiSpeed(100);
    EXPECT_TRUE(PlayMusic(first, true));
    EXPECT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount > 4; }));
    EXPECT_TRUE(PlayMusic(second, true));
    EXPECT_TRUE(WaitForMidi([](const auto& r) { return r.devicesOpen == 1 && !r.messages.empty() && r.messages.back().bytes[0] == 0x81;
    }));
}

struct TestPlaylist : PlaylistPlayer {
    explicit TestPlaylist(bool& removed) : removed(removed) {}
    void RemovePlayer() override { removed = true; }
    bool& removed;
};

TEST_F(MusicService, StopRemovesThePlaylistAndStopsEveryPlayer)
{
    bool removed = false;
    HoldPlaylistPlayer(std::make_unique<TestPlaylist>(removed));
    Bytes wav = StereoWave(NumberedPieces(3, 15360));
    ASSERT_TRUE(PlayMusic(wav, true));
    ASSERT_TRUE(PlayMusic(wav, true));
    Bytes song = MidiFile({MidiTrack({{0, {0x90, 1, 1}}, {10, {0x80, 1, 0}}})}, 96);
    ASSERT_TRUE(PlayMusic(song, true));
    ASSERT_TRUE(WaitForWave([](const auto& r) { return r.devicesOpen == 2; }));

    StopMusic(true);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(HoldsPlaylistPlayer());
    EXPECT_EQ(PlayingWaveCount(), 0u) << "every feeder thread has ended";
    EXPECT_EQ(mm::NullWaveSnapshot().devicesOpen, 0u);
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u);
}

}  // namespace
