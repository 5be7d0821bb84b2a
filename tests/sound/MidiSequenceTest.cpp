// The MIDI file reader and its conversion into stream events.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/sound/MmSystem.h"
#include "sound/MidiSequence.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/support/CaseTable.h"

namespace {

using namespace vellumry::sound;
using namespace vellumry::sound::test;
using vellumry::test::PrintTo;
using ::testing::ElementsAre;

// One decoded stream event: delta, event code and a long event's bytes.
struct Event {
    DWORD delta;
    DWORD code;
    Bytes parameters;
    bool operator==(const Event&) const = default;
};

void PrintTo(const Event& event, std::ostream* out)
{
    *out << "{" << event.delta << ", 0x" << std::hex << event.code << std::dec << ", " << event.parameters.size()
         << " bytes}";
}

std::vector<Event> Decode(std::span<const std::uint8_t> buffer)
{
    std::vector<Event> events;
    std::size_t at = 0;
    while (at + kShortMidiEventSize <= buffer.size()) {
        DWORD fields[3];
        std::memcpy(fields, buffer.data() + at, sizeof fields);
        EXPECT_EQ(fields[1], 0u) << "stream identifier";
        Event event{fields[0], fields[2], {}};
        at += kShortMidiEventSize;
        if (fields[2] & MEVT_F_LONG) {
            std::size_t length = MEVT_EVENTPARM(fields[2]);
            event.parameters.assign(buffer.begin() + at, buffer.begin() + at + length);
            at += (length + 3) & ~std::size_t{3};
        }
        events.push_back(event);
    }
    EXPECT_EQ(at, buffer.size());
    return events;
}

// Everything the sequence yields, one fill of `bufferSize` after another.
std::vector<Event> Convert(const Bytes& file, std::size_t bufferSize = 1024, bool loop = false, std::size_t fills = 100)
{
    auto sequence = MidiSequence::Load(file);
    EXPECT_TRUE(sequence.has_value());
    std::vector<Event> events;
    if (!sequence)
        return events;
    Bytes buffer(bufferSize);
    for (std::size_t i = 0; i < fills && !sequence->Ended(); ++i) {
        std::size_t written = sequence->Fill(buffer, loop);
        auto decoded = Decode(std::span(buffer).first(written));
        events.insert(events.end(), decoded.begin(), decoded.end());
    }
    return events;
}

Event Short(DWORD delta, DWORD message)
{
    return {delta, MidiEventCode(MEVT_SHORTMSG, message), {}};
}
Event Tempo(DWORD delta, DWORD tempo)
{
    return {delta, MidiEventCode(MEVT_TEMPO, tempo), {}};
}
Event Nop(DWORD delta)
{
    return {delta, MidiEventCode(MEVT_NOP, 0), {}};
}

const Bytes kEndOfTrack = {0xFF, 0x2F, 0x00};

TEST(MidiSequence, TwoTracksMergeInTimeOrder)
{
    // A tempo track and a melody with running status, a pitch bend and a
    // program change; the conductor ends last.
    Bytes conductor = MidiTrack({{0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}},  // 500000 us
                                 {0, {0xFF, 0x03, 0x02, 'h', 'i'}},           // a name: plays nothing
                                 {240, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}},  // 250000 us at tick 240
                                 {600, kEndOfTrack}});                          // ends at tick 840
    Bytes melody = MidiTrack({{0, {0xC0, 0x05}},
                              {0, {0x90, 60, 100}},
                              {120, {62, 90}},  // running status
                              {120, {0x80, 60, 0}},
                              {120, {0xE0, 0x00, 0x40}},
                              {120, {0x80, 62, 0}},
                              {0, kEndOfTrack}});
    Bytes file = MidiFile({conductor, melody}, 480);
    auto sequence = MidiSequence::Load(file);
    ASSERT_TRUE(sequence.has_value());
    EXPECT_EQ(sequence->TrackCount(), 2u);
    EXPECT_EQ(sequence->Division(), 480);
    EXPECT_EQ(sequence->Format(), 1);

    EXPECT_THAT(Convert(MidiFile({conductor, melody}, 480)),
                ElementsAre(Tempo(0, 500000), Short(0, 0x05C0), Short(0, 0x643C90), Short(120, 0x5A3E90),
                            Tempo(120, 250000), Short(0, 0x003C80), Short(120, 0x4000E0), Short(120, 0x003E80),
                            Nop(360)));
}

TEST(MidiSequence, EventsContinueInTheNextBufferWithoutLoss)
{
    std::vector<MidiEventBytes> notes;
    for (int i = 0; i < 10; ++i)
        notes.push_back({10, {0x90, static_cast<std::uint8_t>(40 + i), 64}});
    Bytes file = MidiFile({MidiTrack(notes)}, 96);
    std::vector<Event> whole = Convert(file, 1024);
    std::vector<Event> pieces = Convert(file, 3 * kShortMidiEventSize + 4);  // three events a buffer
    EXPECT_EQ(whole.size(), 10u);
    EXPECT_EQ(pieces, whole);
}

TEST(MidiSequence, SystemExclusiveBecomesALongEvent)
{
    Bytes track = MidiTrack({{5, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}, {0, kEndOfTrack}});
    EXPECT_THAT(Convert(MidiFile({track}, 96)),
                ElementsAre(Event{5, MEVT_F_LONG | MidiEventCode(MEVT_LONGMSG, 6), {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
    // One that can never fit a buffer is skipped, its time kept.
    Bytes big = {0xF0};
    PutVariableLength(big, 2000);
    big.insert(big.end(), 2000, 0x01);
    Bytes longTrack = MidiTrack({{5, big}, {7, {0x90, 1, 1}}});
    EXPECT_THAT(Convert(MidiFile({longTrack}, 96)), ElementsAre(Short(12, 0x010190)));
}

TEST(MidiSequence, LoopStartsAgainFromTheFirstEvent)
{
    Bytes track = MidiTrack({{0, {0x90, 60, 1}}, {48, {0x80, 60, 0}}, {48, kEndOfTrack}});
    Bytes file = MidiFile({track}, 96);
    auto sequence = MidiSequence::Load(file);
    ASSERT_TRUE(sequence.has_value());
    Bytes buffer(6 * kShortMidiEventSize);
    std::size_t written = sequence->Fill(buffer, true);
    EXPECT_THAT(Decode(std::span(buffer).first(written)),
                ElementsAre(Short(0, 0x013C90), Short(48, 0x003C80), Nop(48), Short(0, 0x013C90), Short(48, 0x003C80),
                            Nop(48)));
    EXPECT_FALSE(sequence->Ended());
}

TEST(MidiSequence, LoopStartsAgainAtTheStartingTempo)
{
    Bytes track = MidiTrack({{0, {0x90, 60, 1}}, {48, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}}, {48, kEndOfTrack}});
    Bytes file = MidiFile({track}, 96);
    auto sequence = MidiSequence::Load(file);
    ASSERT_TRUE(sequence.has_value());
    Bytes buffer(5 * kShortMidiEventSize);
    std::size_t written = sequence->Fill(buffer, true);
    EXPECT_THAT(Decode(std::span(buffer).first(written)),
                ElementsAre(Short(0, 0x013C90), Tempo(48, 250000), Nop(48), Tempo(0, 500000), Short(0, 0x013C90)));
}

TEST(MidiSequence, APieceThatTakesNoTimeDoesNotLoop)
{
    Bytes track = MidiTrack({{0, {0x90, 60, 1}}, {0, kEndOfTrack}});
    EXPECT_THAT(Convert(MidiFile({track}, 96), 1024, true), ElementsAre(Short(0, 0x013C90)));
    EXPECT_THAT(Convert(MidiFile({MidiTrack({})}, 96), 1024, true), ElementsAre());
}

TEST(MidiSequence, ADeltaBeyond32BitsIsMadeOfNoOperations)
{
    // Two tracks whose gaps add up past 32 bits between played events.
    Bytes first = MidiTrack({{0x0FFFFFFF, {0xFF, 0x01, 0x00}},
                             {0x0FFFFFFF, {0xFF, 0x01, 0x00}}});
    std::vector<MidiEventBytes> gaps(20, {0x0FFFFFFF, {0xFF, 0x01, 0x00}});
    gaps.push_back({0, {0x90, 1, 1}});
    std::vector<Event> events = Convert(MidiFile({first, MidiTrack(gaps)}, 96));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], Nop(0xFFFFFFFF));
    EXPECT_EQ(events[1], Short(20ull * 0x0FFFFFFF - 0xFFFFFFFF, 0x010190));
}

struct TrackEndCase {
    const char* label;
    Bytes events;  // after a first note at delta 0
};

class BrokenTrack : public ::testing::TestWithParam<TrackEndCase> {};

// What a track cannot be read past ends that track where it stands; the
// other track plays on.
TEST_P(BrokenTrack, EndsTheTrackOnly)
{
    Bytes broken = {0x00, 0x90, 60, 1};
    broken.insert(broken.end(), GetParam().events.begin(), GetParam().events.end());
    Bytes brokenTrack = {'M', 'T', 'r', 'k'};
    PutBe32(brokenTrack, static_cast<std::uint32_t>(broken.size()));
    brokenTrack.insert(brokenTrack.end(), broken.begin(), broken.end());
    Bytes other = MidiTrack({{100, {0x91, 50, 2}}, {0, kEndOfTrack}});
    EXPECT_THAT(Convert(MidiFile({brokenTrack, other}, 96)), ElementsAre(Short(0, 0x013C90), Short(100, 0x023291)));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, BrokenTrack,
    ::testing::Values(TrackEndCase{"NumberLongerThanFourBytes", {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 1, 1}},
                      TrackEndCase{"RunningStatusAfterMetaEvent", {0x00, 0xFF, 0x01, 0x00, 0x00, 60, 0}},
                      TrackEndCase{"SystemMessageInATrack", {0x00, 0xF8}},
                      TrackEndCase{"DataByteTooLarge", {0x00, 0x90, 0x80, 1}},
                      TrackEndCase{"MessageCutByTheTrackEnd", {0x00, 0x90, 60}},
                      TrackEndCase{"MetaLengthPastTheEnd", {0x00, 0xFF, 0x01, 0x7F, 'a'}},
                      TrackEndCase{"TempoOfZeroIsSkipped", {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}}),
    vellumry::test::RowLabel());

TEST(MidiSequence, RunningStatusWithNoStatusEndsTheTrack)
{
    Bytes track = MidiTrack({{0, {60, 100}}, {10, {0x90, 1, 1}}});
    EXPECT_THAT(Convert(MidiFile({track}, 96)), ElementsAre());
}

struct RefusedCase {
    const char* label;
    std::function<Bytes()> make;
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, DoesNotLoad)
{
    EXPECT_FALSE(MidiSequence::Load(GetParam().make()).has_value());
}

Bytes OneTrack()
{
    return MidiTrack({{0, {0x90, 1, 1}}});
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RefusedFile,
    ::testing::Values(RefusedCase{"HeaderLengthSeven", [] { return MidiFile({OneTrack()}, 96, 0, 7); }},
                      RefusedCase{"HeaderLengthFive", [] { return MidiFile({OneTrack()}, 96, 0, 5); }},
                      RefusedCase{"NotMThd",
                                  [] {
                                      Bytes file = MidiFile({OneTrack()}, 96);
                                      file[0] = 'X';
                                      return file;
                                  }},
                      RefusedCase{"ShortHeader", [] { return Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}; }},
                      RefusedCase{"MoreTracksThanBytes",
                                  [] {
                                      Bytes file = MidiFile({OneTrack()}, 96);
                                      file[10] = 0xFF;
                                      file[11] = 0xFF;
                                      return file;
                                  }},
                      RefusedCase{"TrackWithoutMTrk",
                                  [] {
                                      Bytes file = MidiFile({OneTrack()}, 96);
                                      file[14] = 'X';
                                      return file;
                                  }},
                      RefusedCase{"TrackLengthPastTheEnd",
                                  [] {
                                      Bytes file = MidiFile({OneTrack()}, 96);
                                      file[18] = 0x10;
                                      return file;
                                  }},
                      RefusedCase{"FirstDeltaLongerThanFourBytes",
                                  [] {
                                      Bytes track = {'M', 'T', 'r', 'k', 0, 0, 0, 5, 0x81, 0x81, 0x81, 0x81, 0x81};
                                      return MidiFile({track}, 96);
                                  }}),
    vellumry::test::RowLabel());

TEST(MidiSequence, EmptyTracksLoadFinished)
{
    Bytes file = MidiFile({MidiTrack({}), Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 0}}, 96);
    auto sequence = MidiSequence::Load(file);
    ASSERT_TRUE(sequence.has_value());
    Bytes buffer(64);
    EXPECT_EQ(sequence->Fill(buffer, false), 0u);
    EXPECT_TRUE(sequence->Ended());
}

}  // namespace
