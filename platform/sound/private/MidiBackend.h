#pragma once

// What the MIDI stream's device thread needs of an output port: the ALSA
// sequencer's synthesizer port or the null device. Every call is made with
// the stream's lock held, so a backend is never entered by two threads at
// once.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/sound/MmSystem.h"

namespace vellumry::mm {

class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    // Sends one complete message now: a channel or system message, or a
    // system-exclusive message starting with 0xF0. `streamMicroseconds` is
    // its place in the stream, counted from the first event played.
    virtual void Send(std::span<const std::uint8_t> message, double streamMicroseconds) = 0;
    // How fast stream time runs against real time: 1 for a real port, 0 for
    // a port that takes every event at once.
    virtual double Speed() const { return 1.0; }
};

// The ALSA sequencer's first synthesizer port; MIDIERR_NODEVICE where the
// sequencer has none, MMSYSERR_NODRIVER where there is no sequencer.
MMRESULT OpenAlsaSequencer(std::unique_ptr<MidiBackend>& backend);

std::unique_ptr<MidiBackend> OpenNullMidi();

}  // namespace vellumry::mm
