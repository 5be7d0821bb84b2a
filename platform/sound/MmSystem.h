#pragma once

// The Windows multimedia type names, structures and constant values that the
// wave-out and MIDI stream stand-ins expose at their surface. Only what our
// callers use is declared; the values are the documented Windows ones and the
// structures keep the documented member order (pointer-sized members follow
// the 64-bit build).

#include <cstdint>

#include "platform/base/WinTypes.h"

using MMRESULT = UINT;

struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;
using LPHWAVEOUT = HWAVEOUT*;
struct HMIDIOUT__;
using HMIDIOUT = HMIDIOUT__*;
struct HMIDISTRM__;
using HMIDISTRM = HMIDISTRM__*;
using LPHMIDISTRM = HMIDISTRM*;

// Result codes.
inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MMSYSERR_HANDLEBUSY = 12;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
inline constexpr MMRESULT MIDIERR_NODEVICE = 68;

// Device identifiers and open flags.
inline constexpr UINT WAVE_MAPPER = static_cast<UINT>(-1);
inline constexpr UINT MIDI_MAPPER = static_cast<UINT>(-1);
inline constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_FUNCTION = 0x00030000;
inline constexpr DWORD WAVE_FORMAT_QUERY = 0x0001;

// Callback messages.
inline constexpr UINT WOM_OPEN = 0x3BB;
inline constexpr UINT WOM_CLOSE = 0x3BC;
inline constexpr UINT WOM_DONE = 0x3BD;
inline constexpr UINT MOM_OPEN = 0x3C7;
inline constexpr UINT MOM_CLOSE = 0x3C8;
inline constexpr UINT MOM_DONE = 0x3C9;
inline constexpr UINT MOM_POSITIONCB = 0x3CA;

// Wave formats.
inline constexpr WORD WAVE_FORMAT_PCM = 0x0001;
inline constexpr WORD WAVE_FORMAT_IEEE_FLOAT = 0x0003;
inline constexpr WORD WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

#pragma pack(push, 1)
// The "fmt " chunk of a RIFF/WAVE file has exactly this layout; cbSize (and
// the cbSize bytes after it) exist only for formats other than PCM.
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
using LPCWAVEFORMATEX = const WAVEFORMATEX*;
inline constexpr std::size_t kPcmWaveFormatSize = 16;  // PCMWAVEFORMAT: WAVEFORMATEX without cbSize

struct WAVEHDR {
    LPSTR lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    DWORD dwLoops;
    WAVEHDR* lpNext;
    DWORD_PTR reserved;
};
using LPWAVEHDR = WAVEHDR*;

inline constexpr DWORD WHDR_DONE = 0x01;
inline constexpr DWORD WHDR_PREPARED = 0x02;
inline constexpr DWORD WHDR_INQUEUE = 0x10;

struct MIDIHDR {
    LPSTR lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    MIDIHDR* lpNext;
    DWORD_PTR reserved;
    DWORD dwOffset;
    DWORD_PTR dwReserved[8];
};
using LPMIDIHDR = MIDIHDR*;

inline constexpr DWORD MHDR_DONE = 0x01;
inline constexpr DWORD MHDR_PREPARED = 0x02;
inline constexpr DWORD MHDR_INQUEUE = 0x04;
inline constexpr DWORD MHDR_ISSTRM = 0x08;

// A stream buffer holds MIDIEVENT records, each starting on a 4-byte
// boundary: delta time in ticks, stream identifier (0), event code, and for
// long events the parameter bytes padded to a multiple of 4.
struct MIDIEVENT {
    DWORD dwDeltaTime;
    DWORD dwStreamID;
    DWORD dwEvent;
    DWORD dwParms[1];
};
inline constexpr std::size_t kShortMidiEventSize = 12;  // a MIDIEVENT without parameters

inline constexpr DWORD MEVT_F_SHORT = 0x00000000;
inline constexpr DWORD MEVT_F_LONG = 0x80000000;
inline constexpr DWORD MEVT_F_CALLBACK = 0x40000000;
inline constexpr BYTE MEVT_SHORTMSG = 0x00;
inline constexpr BYTE MEVT_TEMPO = 0x01;
inline constexpr BYTE MEVT_NOP = 0x02;
inline constexpr BYTE MEVT_LONGMSG = 0x80;
inline constexpr DWORD MEVT_EVENTTYPE(DWORD event) { return (event >> 24) & 0xFF; }
inline constexpr DWORD MEVT_EVENTPARM(DWORD event) { return event & 0x00FFFFFF; }
inline constexpr DWORD MidiEventCode(BYTE type, DWORD parameter) { return (DWORD{type} << 24) | (parameter & 0x00FFFFFF); }

// Stream properties.
inline constexpr DWORD MIDIPROP_SET = 0x80000000;
inline constexpr DWORD MIDIPROP_GET = 0x40000000;
inline constexpr DWORD MIDIPROP_TIMEDIV = 0x00000001;
inline constexpr DWORD MIDIPROP_TEMPO = 0x00000002;

struct MIDIPROPTIMEDIV {
    DWORD cbStruct;
    DWORD dwTimeDiv;
};

struct MIDIPROPTEMPO {
    DWORD cbStruct;
    DWORD dwTempo;
};

// The stream buffer size limit of midiStreamOut.
inline constexpr DWORD kMaxMidiStreamBuffer = 65536;

// The callback function of CALLBACK_FUNCTION (waveOutProc, MidiOutProc).
using WaveOutProc = void (*)(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2);
using MidiOutProc = void (*)(HMIDIOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2);
