#pragma once

// Building WAV and MIDI bytes for tests: RIFF chunks in any order and with
// any sizes (true or not), PCM formats, and MIDI tracks from delta times
// and raw event bytes.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vellumry::sound::test {

using Bytes = std::vector<std::uint8_t>;

void PutLe16(Bytes& out, std::uint32_t value);
void PutLe32(Bytes& out, std::uint32_t value);
void PutBe16(Bytes& out, std::uint32_t value);
void PutBe32(Bytes& out, std::uint32_t value);

// A "fmt " chunk body for PCM.
Bytes PcmFormat(unsigned channels, unsigned rate, unsigned bits);

struct Chunk {
    std::string id;
    Bytes body;
    // The size written in the chunk header; -1 writes the body's size.
    std::int64_t statedSize = -1;
    bool pad = false;  // a pad byte after an odd body
};

// "RIFF", the RIFF size (that of the bytes after it unless given), "WAVE" and
// the chunks.
Bytes Riff(const std::vector<Chunk>& chunks, std::int64_t riffSize = -1);

// A 16-bit stereo 48 kHz WAV whose samples are `samples` (a multiple of 4).
Bytes StereoWave(const Bytes& samples);

// Samples of `pieces` pieces of `pieceSize` bytes: every byte of piece i is
// i + 1 (mod 256), so a buffer tells which piece it starts with.
Bytes NumberedPieces(std::size_t pieces, std::size_t pieceSize, std::size_t extra = 0);

// A variable-length number.
void PutVariableLength(Bytes& out, std::uint32_t value);

struct MidiEventBytes {
    std::uint32_t delta;
    Bytes bytes;
};
Bytes MidiTrack(const std::vector<MidiEventBytes>& events);
// "MThd" with the given header length (6 for a valid file), format,
// division and the tracks.
Bytes MidiFile(const std::vector<Bytes>& tracks, std::uint16_t division, std::uint16_t format = 1,
               std::uint32_t headerLength = 6);

}  // namespace vellumry::sound::test
