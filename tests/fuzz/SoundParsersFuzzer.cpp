// Fuzz target: the WAV parser and the MIDI file reader with its conversion
// into stream events. The first byte picks the parser, the rest is the data.
// A WAV layout must lie inside the data; a MIDI sequence must end (without
// loop) or keep making progress (with loop), and every buffer it fills must
// be whole, well-formed event records.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "platform/sound/MmSystem.h"
#include "sound/MidiSequence.h"
#include "sound/WaveLayout.h"

using namespace vellumry::sound;

namespace {

constexpr std::size_t kBufferSize = 1024;
constexpr int kLoopingFills = 64;

bool Inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole)
{
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

void CheckRecords(std::span<const std::uint8_t> buffer, std::size_t written)
{
    if (written % 4 != 0 || written > buffer.size())
        __builtin_trap();
    std::size_t at = 0;
    while (at < written) {
        if (written - at < kShortMidiEventSize)
            __builtin_trap();
        DWORD code;
        std::memcpy(&code, buffer.data() + at + 8, sizeof code);
        at += kShortMidiEventSize;
        if (code & MEVT_F_LONG) {
            std::size_t padded = (MEVT_EVENTPARM(code) + 3) & ~std::size_t{3};
            if (padded > written - at)
                __builtin_trap();
            at += padded;
        }
    }
}

void Wave(std::span<const std::uint8_t> data)
{
    auto layout = ParseWave(data);
    if (layout && (!Inside(layout->format, data) || !Inside(layout->samples, data) || layout->samples.empty()))
        __builtin_trap();
}

void Midi(std::span<const std::uint8_t> data)
{
    auto sequence = MidiSequence::Load(data);
    if (!sequence)
        return;
    std::vector<std::uint8_t> buffer(kBufferSize);
    // Without loop every fill writes something until the piece has ended.
    while (!sequence->Ended()) {
        std::size_t written = sequence->Fill(buffer, false);
        CheckRecords(buffer, written);
        if (written == 0 && !sequence->Ended())
            __builtin_trap();
    }
    // With loop it either ends (a piece of no length) or keeps going.
    sequence->Rewind();
    for (int i = 0; i < kLoopingFills && !sequence->Ended(); ++i) {
        std::size_t written = sequence->Fill(buffer, true);
        CheckRecords(buffer, written);
        if (written == 0 && !sequence->Ended())
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (data[0] & 1)
        Midi(rest);
    else
        Wave(rest);
    return 0;
}
