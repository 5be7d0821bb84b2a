// The MIDI player on the null MIDI output.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sound/MidiPlayer.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/sound/NullSoundFixture.h"

namespace {

using namespace vellumry;
using namespace vellumry::sound;
using namespace vellumry::sound::test;

const Bytes kEndOfTrack = {0xFF, 0x2F, 0x00};

Bytes TwoTrackSong()
{
    Bytes conductor = MidiTrack({{240, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}}, {600, kEndOfTrack}});
    Bytes melody = MidiTrack({{0, {0xC0, 0x05}},
                              {0, {0x90, 60, 100}},
                              {120, {62, 90}},
                              {120, {0x80, 60, 0}},
                              {120, {0xE0, 0x00, 0x40}},
                              {120, {0x80, 62, 0}},
                              {0, kEndOfTrack}});
    return MidiFile({conductor, melody}, 480);
}

struct Played {
    Bytes bytes;
    double microseconds;
    bool operator==(const Played&) const = default;
};

void PrintTo(const Played& played, std::ostream* out)
{
    *out << "{" << played.bytes.size() << " bytes from 0x" << std::hex << int(played.bytes[0]) << std::dec << " at "
         << played.microseconds << "}";
}

std::vector<Played> PlayedMessages()
{
    std::vector<Played> played;
    for (const mm::NullMidiMessage& message : mm::NullMidiSnapshot().messages)
        played.push_back({message.bytes, message.microseconds});
    return played;
}

class MidiPlaying : public NullSound {};

TEST_F(MidiPlaying, PlaysTheFileAtItsTimesAndIsDone)
{
    MidiPlayer player;
    ASSERT_TRUE(player.Load(MusicBytes::CopyOf(TwoTrackSong()), false));
    EXPECT_EQ(player.CurrentState(), MidiPlayer::State::Idle);
    EXPECT_EQ(mm::NullMidiSnapshot().messageCount, 0u) << "a loaded stream waits for Play";
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(Eventually([&] { return player.CurrentState() == MidiPlayer::State::Done; }));
    // 120 ticks of 480 a quarter note last 125 ms at the starting tempo and
    // 62.5 ms after the tempo doubles at tick 240.
    EXPECT_THAT(PlayedMessages(),
                ::testing::ElementsAre(Played{{0xC0, 0x05}, 0}, Played{{0x90, 60, 100}, 0},
                                       Played{{0x90, 62, 90}, 125000}, Played{{0x80, 60, 0}, 250000},
                                       Played{{0xE0, 0x00, 0x40}, 312500}, Played{{0x80, 62, 0}, 375000}));
    EXPECT_GT(player.PlayedTotal(), 0u);
    player.Stop();
    EXPECT_FALSE(player.TimedOut());
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u);
}

TEST_F(MidiPlaying, PlayingAgainStartsFromTheBeginning)
{
    MidiPlayer player;
    ASSERT_TRUE(player.Load(MusicBytes::CopyOf(TwoTrackSong()), false));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(Eventually([&] { return player.CurrentState() == MidiPlayer::State::Done; }));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(Eventually([&] { return player.CurrentState() == MidiPlayer::State::Done; }));
    // The first playing, the reset of the stop in between (all notes off on
    // 16 channels), the same six again.
    std::vector<Played> played = PlayedMessages();
    ASSERT_EQ(played.size(), 6u + 16u + 6u);
    EXPECT_EQ(std::vector(played.begin() + 22, played.end()), std::vector(played.begin(), played.begin() + 6));
}

TEST_F(MidiPlaying, StopSilencesTheSoundingNotesAndClosesTheStream)
{
    mm::SetNullMidiSpeed(1);
    Bytes song = MidiFile({MidiTrack({{0, {0x90, 60, 100}}, {96 * 100, {0x80, 60, 0}}})}, 96);
    MidiPlayer player;
    ASSERT_TRUE(player.Load(MusicBytes::CopyOf(song), false));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount == 1; }));
    player.Stop();
    EXPECT_FALSE(player.TimedOut());
    EXPECT_EQ(player.CurrentState(), MidiPlayer::State::Done);
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u);
    std::vector<Played> played = PlayedMessages();
    ASSERT_EQ(played.size(), 18u);
    EXPECT_EQ(played[1].bytes, (Bytes{0x80, 60, 0})) << "the stop turns off the note it left on";
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(played[2 + channel].bytes, (Bytes{static_cast<std::uint8_t>(0xB0 + channel), 123, 0}));
}

TEST_F(MidiPlaying, LoopPlaysOnUntilStopped)
{
    mm::SetNullMidiSpeed(100);
    MidiPlayer player;
    ASSERT_TRUE(player.Load(MusicBytes::CopyOf(TwoTrackSong()), true));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount >= 60; }));
    EXPECT_EQ(player.CurrentState(), MidiPlayer::State::Playing);
    std::vector<Played> played = PlayedMessages();
    EXPECT_EQ(played[6].bytes, played[0].bytes) << "the second pass starts with the first event";
    EXPECT_DOUBLE_EQ(played[6].microseconds, 562500) << "after the 840 ticks of the first pass";
    player.Stop();
    EXPECT_EQ(player.CurrentState(), MidiPlayer::State::Done);
    EXPECT_FALSE(player.TimedOut());
}

TEST_F(MidiPlaying, DestroyingAPlayingPlayerClosesItsStream)
{
    {
        MidiPlayer player;
        ASSERT_TRUE(player.Load(MusicBytes::CopyOf(TwoTrackSong()), true));
        ASSERT_TRUE(player.Play());
        ASSERT_TRUE(WaitForMidi([](const auto& r) { return r.messageCount >= 10; }));
    }
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u);
}

TEST_F(MidiPlaying, LoadFailures)
{
    MidiPlayer player;
    EXPECT_FALSE(player.Load(MusicBytes::CopyOf(MidiFile({MidiTrack({})}, 96, 1, 7)), false))
        << "a header length other than 6";
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpened, 0u);
    EXPECT_FALSE(player.Play()) << "nothing loaded";

    EXPECT_FALSE(player.Load(MusicBytes::CopyOf(MidiFile({MidiTrack({{0, {0x90, 1, 1}}})}, 0)), false))
        << "a division of 0";
    EXPECT_EQ(player.LastError(), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u);

    mm::SelectSoundDevices(mm::SoundDevices::None);
    EXPECT_FALSE(player.Load(MusicBytes::CopyOf(TwoTrackSong()), false));
    EXPECT_EQ(player.LastError(), MMSYSERR_NODRIVER);
}

}  // namespace
