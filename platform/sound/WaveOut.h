#pragma once

// The wave-out functions of the Windows multimedia API, as documented, for
// what our players need: one output device (WAVE_MAPPER or device 0),
// CALLBACK_FUNCTION or CALLBACK_NULL, and buffers played in the order they
// were written.
//
// - waveOutGetNumDevs: 1 when the selected device exists (SoundDevices.h), 0
//   otherwise.
// - waveOutOpen: checks the format (WaveFormat.h; WAVERR_BADFORMAT when it is
//   not playable), opens the device (MMSYSERR_NODRIVER when there is none,
//   MMSYSERR_BADDEVICEID for an identifier other than WAVE_MAPPER or 0) and
//   sends WOM_OPEN. WAVE_FORMAT_QUERY only checks the format against the
//   device. Other callback kinds are refused with MMSYSERR_INVALFLAG.
// - waveOutPrepareHeader / waveOutUnprepareHeader: set and clear
//   WHDR_PREPARED; preparing twice or unpreparing an unprepared header does
//   nothing and succeeds; unpreparing a queued header gives
//   WAVERR_STILLPLAYING.
// - waveOutWrite: an unprepared header gives WAVERR_UNPREPARED, a queued one
//   WAVERR_STILLPLAYING; otherwise WHDR_DONE is cleared, WHDR_INQUEUE set and
//   the buffer queued. When the device has taken all of it, WHDR_INQUEUE is
//   cleared, WHDR_DONE set and WOM_DONE sent from the device's own thread.
// - waveOutPause: the device takes no more data until it is reset or closed.
// - waveOutReset: stops playing, drops what the device holds and returns
//   every queued buffer marked done, each with WOM_DONE, before it returns
//   (from the calling thread). The pause state is kept.
// - waveOutClose: WAVERR_STILLPLAYING while buffers are queued; otherwise the
//   device thread ends (no callback runs after the function returns), WOM_CLOSE
//   is sent and the handle is no longer valid. Calling it from the device's
//   callback gives MMSYSERR_HANDLEBUSY.
// Every function checks its handle: a closed or made-up one gives
// MMSYSERR_INVALHANDLE. The callback must not call wave-out functions other
// than those that do not wait for the device thread (prepare, unprepare,
// write). Any thread may call.

#include "platform/sound/MmSystem.h"

UINT waveOutGetNumDevs();
MMRESULT waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
MMRESULT waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutClose(HWAVEOUT device);
