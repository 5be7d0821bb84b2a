#include "tools/assets/Score.h"

#include <array>

#include "tools/assets/Noise.h"

namespace vellumry::assets {

namespace {

struct Chord {
    int startSixteenth;  // within the bar
    int sixteenths;
    std::array<int, 5> pad;        // pad voicing
    std::array<int, 5> arpeggio;   // tones the arpeggio walks, low to high
};

struct BarChords {
    std::array<Chord, 2> chords;
    int count;
};

// Eight bars, played twice: Dmaj9, Bm9, Gmaj9, A(add9), F#m7, Bm11, Em9,
// then A7sus4 resolving through A7 back to the Dmaj9 of the next bar, which
// after the last bar is the first bar again.
constexpr std::array<BarChords, 8> kProgression{{
    {{{{0, 16, {50, 57, 61, 64, 66}, {62, 66, 69, 73, 76}}}}, 1},
    {{{{0, 16, {47, 54, 57, 61, 62}, {59, 62, 66, 69, 73}}}}, 1},
    {{{{0, 16, {50, 55, 57, 59, 66}, {59, 62, 66, 69, 71}}}}, 1},
    {{{{0, 16, {52, 57, 59, 61, 64}, {57, 61, 64, 69, 71}}}}, 1},
    {{{{0, 16, {49, 54, 57, 61, 64}, {61, 64, 66, 69, 73}}}}, 1},
    {{{{0, 16, {47, 54, 57, 62, 64}, {59, 62, 64, 66, 69}}}}, 1},
    {{{{0, 16, {52, 55, 59, 62, 66}, {64, 67, 71, 74, 78}}}}, 1},
    {{{{0, 8, {52, 55, 57, 62, 64}, {57, 62, 64, 67, 69}}, {8, 8, {52, 55, 57, 61, 64}, {57, 61, 64, 67, 69}}}}, 2},
}};

// A note within a bar; the tables are of fixed width, and a step of no
// length fills an unused slot.
struct Step {
    int startSixteenth;
    int sixteenths;
    int pitch;
};

// Root on the beat, a fifth or a passing tone on the off-beat that leads to
// the next bar's root.
constexpr std::array<std::array<Step, 5>, 8> kBassLine{{
    {{{0, 6, 38}, {6, 2, 45}, {8, 6, 38}, {14, 2, 37}, {16, 0, 0}}},
    {{{0, 6, 35}, {6, 2, 42}, {8, 6, 35}, {14, 2, 33}, {16, 0, 0}}},
    {{{0, 6, 31}, {6, 2, 38}, {8, 6, 31}, {14, 2, 32}, {16, 0, 0}}},
    {{{0, 6, 33}, {6, 2, 40}, {8, 4, 33}, {12, 2, 37}, {14, 2, 40}}},
    {{{0, 6, 42}, {6, 2, 37}, {8, 6, 42}, {14, 2, 40}, {16, 0, 0}}},
    {{{0, 6, 35}, {6, 2, 42}, {8, 6, 35}, {14, 2, 38}, {16, 0, 0}}},
    {{{0, 6, 40}, {6, 2, 35}, {8, 6, 40}, {14, 2, 42}, {16, 0, 0}}},
    {{{0, 6, 33}, {6, 2, 40}, {8, 4, 33}, {12, 2, 37}, {14, 2, 40}}},
}};

// The melody of the second eight bars, bar by bar.
constexpr std::array<std::array<Step, 4>, 8> kMelody{{
    {{{0, 8, 78}, {8, 4, 76}, {12, 4, 74}, {16, 0, 0}}},
    {{{0, 6, 73}, {6, 2, 74}, {8, 8, 71}, {16, 0, 0}}},
    {{{0, 4, 74}, {4, 4, 69}, {8, 4, 71}, {12, 4, 74}}},
    {{{0, 12, 76}, {12, 4, 69}, {16, 0, 0}, {16, 0, 0}}},
    {{{0, 8, 73}, {8, 4, 76}, {12, 4, 78}, {16, 0, 0}}},
    {{{0, 6, 78}, {6, 2, 76}, {8, 8, 74}, {16, 0, 0}}},
    {{{0, 4, 71}, {4, 4, 74}, {8, 4, 79}, {12, 4, 78}}},
    {{{0, 8, 76}, {8, 4, 74}, {12, 4, 73}, {16, 0, 0}}},
}};

// Which arpeggio tone each eighth of a bar plays: up and down in the first
// half of the piece, a looser figure in the second.
constexpr std::array<int, 8> kArpeggioFirst{0, 1, 2, 3, 4, 3, 2, 1};
constexpr std::array<int, 8> kArpeggioSecond{0, 2, 1, 3, 2, 4, 3, 1};

// Notes are released a little before the next one starts, as a player would.
constexpr std::int64_t kBassGap = 2400;
constexpr std::int64_t kMelodyGap = 1800;

std::int64_t Frame(int bar, int sixteenth) { return bar * kFramesPerBar + sixteenth * kFramesPerSixteenth; }

// A small, fixed variation in loudness, so repeated notes do not sound
// mechanical.
double Humanise(int bar, int step, std::uint32_t seed) { return 0.92 + 0.08 * Hash01(bar, step, seed); }

}  // namespace

std::vector<Note> ComposeScore()
{
    std::vector<Note> notes;
    for (int bar = 0; bar < kBars; ++bar) {
        const int phrase = bar % 8;
        const bool secondHalf = bar >= 8;
        const BarChords& barChords = kProgression[static_cast<std::size_t>(phrase)];

        for (int c = 0; c < barChords.count; ++c) {
            const Chord& chord = barChords.chords[static_cast<std::size_t>(c)];
            for (std::size_t v = 0; v < chord.pad.size(); ++v) {
                const double pan = -0.5 + 0.25 * static_cast<double>(v);
                notes.push_back({Instrument::Pad, Frame(bar, chord.startSixteenth),
                                 chord.sixteenths * kFramesPerSixteenth, chord.pad[v], v == 0 ? 0.7 : 0.6, pan});
            }
        }

        const auto& pattern = secondHalf ? kArpeggioSecond : kArpeggioFirst;
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int sixteenth = eighth * 2;
            const Chord& chord = barChords.chords[barChords.count == 2 && sixteenth >= 8 ? 1 : 0];
            const double accent = eighth == 0 ? 1.0 : eighth % 2 == 0 ? 0.8 : 0.65;
            notes.push_back({Instrument::Bell, Frame(bar, sixteenth), 2 * kFramesPerSixteenth,
                             chord.arpeggio[static_cast<std::size_t>(pattern[static_cast<std::size_t>(eighth)])],
                             accent * Humanise(bar, eighth, 3), eighth % 2 == 0 ? -0.35 : 0.35});
        }

        for (std::size_t i = 0; i < kBassLine[static_cast<std::size_t>(phrase)].size(); ++i) {
            const Step& step = kBassLine[static_cast<std::size_t>(phrase)][i];
            if (step.sixteenths == 0)
                continue;
            notes.push_back({Instrument::Bass, Frame(bar, step.startSixteenth),
                             step.sixteenths * kFramesPerSixteenth - kBassGap, step.pitch,
                             (step.startSixteenth % 8 == 0 ? 1.0 : 0.8) * Humanise(bar, static_cast<int>(i), 5), 0.0});
        }

        if (secondHalf) {
            for (const Step& step : kMelody[static_cast<std::size_t>(phrase)]) {
                if (step.sixteenths == 0)
                    continue;
                notes.push_back({Instrument::Flute, Frame(bar, step.startSixteenth),
                                 step.sixteenths * kFramesPerSixteenth - kMelodyGap, step.pitch,
                                 Humanise(bar, step.startSixteenth, 9), 0.15});
            }
        }
    }
    return notes;
}

}  // namespace vellumry::assets
