#pragma once

// The MIDI stream functions of the Windows multimedia API, as documented,
// for what our MIDI player needs: one stream on the MIDI mapper (or device
// 0), CALLBACK_FUNCTION or CALLBACK_NULL.
//
// - midiStreamOpen: cMidi must be 1; the stream opens paused, with 96 ticks
//   per quarter note and 500000 microseconds per quarter note; MOM_OPEN is
//   sent. Where no output exists: MMSYSERR_NODRIVER (no sequencer, or no
//   device selected) or MIDIERR_NODEVICE (no synthesizer port).
// - midiStreamProperty: MIDIPROP_SET or MIDIPROP_GET of MIDIPROP_TIMEDIV (a
//   division as in a standard MIDI file header: ticks per quarter note, or
//   SMPTE frames per second and ticks per frame) or MIDIPROP_TEMPO
//   (microseconds per quarter note). A division or tempo of 0, or an SMPTE
//   rate other than 24, 25, 29 (29.97) or 30, gives MMSYSERR_INVALPARAM.
// - midiOutPrepareHeader / midiOutUnprepareHeader on the stream's handle: as
//   for wave-out; a buffer of more than 64 KiB is refused.
// - midiStreamOut: queues a prepared buffer of MIDIEVENT records
//   (dwBytesRecorded bytes, a multiple of 4); sets MHDR_INQUEUE and
//   MHDR_ISSTRM. The device thread plays each event at its time (delta ticks
//   after the one before, at the current tempo) and returns the buffer with
//   MHDR_DONE and MOM_DONE once its last event has played. Short messages,
//   tempo changes, no-operations and long messages are played; a short
//   message whose first byte is not a status byte, a tempo of 0 and other
//   event kinds are skipped; a record that runs past dwBytesRecorded ends the
//   buffer. MEVT_F_CALLBACK sends MOM_POSITIONCB with dwOffset set.
// - midiStreamRestart: starts (or resumes) playing.
// - midiStreamStop: stops, turns off the notes the stream turned on, and
//   returns every queued buffer marked done, each with MOM_DONE, before it
//   returns (from the calling thread); the stream time starts again at 0.
// - midiOutReset: as midiStreamStop, and every note of every channel is
//   turned off.
// - midiStreamClose: MIDIERR_STILLPLAYING while buffers are queued;
//   otherwise the device thread ends (no callback runs after the function
//   returns), MOM_CLOSE is sent and the handle is no longer valid. From the
//   stream's callback it gives MMSYSERR_HANDLEBUSY.
// The callback may call midiStreamOut, midiStreamStop, midiOutReset and the
// header functions; a closed or made-up handle gives MMSYSERR_INVALHANDLE.
// Any thread may call.

#include "platform/sound/MmSystem.h"

MMRESULT midiStreamOpen(LPHMIDISTRM stream, UINT* deviceId, DWORD streamCount, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags);
MMRESULT midiStreamProperty(HMIDISTRM stream, BYTE* propertyData, DWORD property);
MMRESULT midiOutPrepareHeader(HMIDIOUT device, LPMIDIHDR header, UINT headerSize);
MMRESULT midiOutUnprepareHeader(HMIDIOUT device, LPMIDIHDR header, UINT headerSize);
MMRESULT midiStreamOut(HMIDISTRM stream, LPMIDIHDR header, UINT headerSize);
MMRESULT midiStreamRestart(HMIDISTRM stream);
MMRESULT midiStreamStop(HMIDISTRM stream);
MMRESULT midiOutReset(HMIDIOUT device);
MMRESULT midiStreamClose(HMIDISTRM stream);
