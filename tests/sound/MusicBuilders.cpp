#include "MusicBuilders.h"

namespace vellumry::sound::test {

void PutLe16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(Bytes& out, std::uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void PutBe16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutBe32(Bytes& out, std::uint32_t value)
{
    PutBe16(out, value >> 16);
    PutBe16(out, value & 0xFFFF);
}

Bytes PcmFormat(unsigned channels, unsigned rate, unsigned bits)
{
    Bytes format;
    unsigned blockAlign = channels * bits / 8;
    PutLe16(format, 1);
    PutLe16(format, channels);
    PutLe32(format, rate);
    PutLe32(format, rate * blockAlign);
    PutLe16(format, blockAlign);
    PutLe16(format, bits);
    return format;
}

Bytes Riff(const std::vector<Chunk>& chunks, std::int64_t riffSize)
{
    Bytes body;
    for (const Chunk& chunk : chunks) {
        body.insert(body.end(), chunk.id.begin(), chunk.id.end());
        PutLe32(body, static_cast<std::uint32_t>(chunk.statedSize < 0 ? chunk.body.size() : chunk.statedSize));
        body.insert(body.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.pad && chunk.body.size() % 2)
            body.push_back(0);
    }
    Bytes riff = {'R', 'I', 'F', 'F'};
    PutLe32(riff, static_cast<std::uint32_t>(riffSize < 0 ? body.size() + 4 : riffSize));
    riff.insert(riff.end(), {'W', 'A', 'V', 'E'});
    riff.insert(riff.end(), body.begin(), body.end());
    return riff;
}

Bytes StereoWave(const Bytes& samples)
{
    return Riff({{"fmt ", PcmFormat(2, 48000, 16)}, {"data", samples}});
}

Bytes NumberedPieces(std::size_t pieces, std::size_t pieceSize, std::size_t extra)
{
    Bytes samples;
    for (std::size_t i = 0; i < pieces; ++i)
        samples.insert(samples.end(), pieceSize, static_cast<std::uint8_t>(i + 1));
    samples.insert(samples.end(), extra, static_cast<std::uint8_t>(pieces + 1));
    return samples;
}

void PutVariableLength(Bytes& out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

Bytes MidiTrack(const std::vector<MidiEventBytes>& events)
{
    Bytes body;
    for (const MidiEventBytes& event : events) {
        PutVariableLength(body, event.delta);
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
    }
    Bytes track = {'M', 'T', 'r', 'k'};
    PutBe32(track, static_cast<std::uint32_t>(body.size()));
    track.insert(track.end(), body.begin(), body.end());
    return track;
}

Bytes MidiFile(const std::vector<Bytes>& tracks, std::uint16_t division, std::uint16_t format, std::uint32_t headerLength)
{
    Bytes file = {'M', 'T', 'h', 'd'};
    PutBe32(file, headerLength);
    PutBe16(file, format);
    PutBe16(file, static_cast<std::uint32_t>(tracks.size()));
    PutBe16(file, division);
    for (const Bytes& track : tracks)
        file.insert(file.end(), track.begin(), track.end());
    return file;
}

}  // namespace vellumry::sound::test
