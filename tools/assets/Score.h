#pragma once

// The background music as notes: a calm sixteen-bar piece in D major (pad,
// bass and an arpeggio throughout, a melody in the second eight bars) whose
// last bar leads back into the first, so it can loop for as long as the
// window is open.

#include <cstdint>
#include <vector>

namespace vellumry::assets {

inline constexpr int kSampleRate = 48000;
// 16 bars of 4/4 at 16 sixteenths each; 10700 frames to the sixteenth puts
// the tempo at about 67.3 beats a minute and makes the piece 57.07 seconds.
inline constexpr std::int64_t kFramesPerSixteenth = 10700;
inline constexpr int kSixteenthsPerBar = 16;
inline constexpr int kBars = 16;
inline constexpr std::int64_t kFramesPerBar = kFramesPerSixteenth * kSixteenthsPerBar;
inline constexpr std::int64_t kLoopFrames = kFramesPerBar * kBars;
static_assert(kLoopFrames == 2739200);

enum class Instrument { Pad, Bass, Bell, Flute };

struct Note {
    Instrument instrument = Instrument::Pad;
    std::int64_t start = 0;   // first frame
    std::int64_t length = 0;  // frames the note is held; its release follows
    int pitch = 0;            // MIDI note number (69 = A4 = 440 Hz)
    double velocity = 1.0;    // 0 to 1
    double pan = 0.0;         // -1 left to 1 right
};

std::vector<Note> ComposeScore();

}  // namespace vellumry::assets
