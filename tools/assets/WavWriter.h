#pragma once

// PCM WAV files: RIFF/WAVE with a "fmt " chunk, a "LIST" chunk of INFO text
// and the "data" chunk, in that order.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vellumry::assets {

// 16-bit PCM of `channels` interleaved channels. The INFO list holds one
// entry, the title ("INAM"), stored with its terminating zero and padded to
// an even length.
std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate,
                                    std::string_view title);

}  // namespace vellumry::assets
