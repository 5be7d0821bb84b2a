#include "tools/assets/WavWriter.h"

#include "tools/assets/ByteWriter.h"

namespace vellumry::assets {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFormatChunkSize = 16;
constexpr std::uint32_t kChunkHeaderSize = 8;

}  // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate,
                                    std::string_view title)
{
    const auto titleSize = static_cast<std::uint32_t>(title.size() + 1);  // with its zero
    const std::uint32_t titlePadded = titleSize + (titleSize & 1);
    const std::uint32_t listSize = 4 + kChunkHeaderSize + titlePadded;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * sizeof(std::int16_t));
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * kBitsPerSample / 8);

    ByteWriter out;
    out.Tag("RIFF");
    out.U32(4 + (kChunkHeaderSize + kFormatChunkSize) + (kChunkHeaderSize + listSize) +
            (kChunkHeaderSize + dataSize));
    out.Tag("WAVE");

    out.Tag("fmt ");
    out.U32(kFormatChunkSize);
    out.U16(kFormatPcm);
    out.U16(static_cast<std::uint16_t>(channels));
    out.U32(static_cast<std::uint32_t>(sampleRate));
    out.U32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    out.U16(blockAlign);
    out.U16(kBitsPerSample);

    out.Tag("LIST");
    out.U32(listSize);
    out.Tag("INFO");
    out.Tag("INAM");
    out.U32(titleSize);
    out.Tag(title);
    for (std::uint32_t i = static_cast<std::uint32_t>(title.size()); i < titlePadded; ++i)
        out.U8(0);

    out.Tag("data");
    out.U32(dataSize);
    for (std::int16_t sample : samples)
        out.U16(static_cast<std::uint16_t>(sample));
    return out.Take();
}

}  // namespace vellumry::assets
