#pragma once

// Which devices the wave-out and MIDI stream stand-ins play on:
// - System: ALSA's default PCM device for wave-out (waveOutGetNumDevs gives
//   0 where it does not exist) and the ALSA sequencer's first synthesizer
//   port for MIDI streams (midiStreamOpen fails where there is none);
// - Null: one device of each kind that plays nothing, at a pace tests
//   control (NullWaveDevice.h, NullMidiDevice.h);
// - None: no device at all.
// Until a selection is made, the environment variable VELLUMRY_SOUND picks
// ("null" or "none"; anything else, or nothing, the system devices). Any
// thread may call; a new selection applies to devices opened after it.

namespace vellumry::mm {

enum class SoundDevices { System, Null, None };

void SelectSoundDevices(SoundDevices devices);
SoundDevices SelectedSoundDevices();

}  // namespace vellumry::mm
