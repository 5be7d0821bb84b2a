#pragma once

// The variable-length-code LZW decompressor of GIF image data, reading the
// codes straight out of the sub-block chain. The table never grows past 4096
// codes (a full table is kept until the next clear code) and every string is
// walked with a bound, so broken data ends the output early instead of
// running away.

#include <array>
#include <cstdint>
#include <span>

namespace vellumry::units {

inline constexpr std::uint8_t kGifMinCodeSize = 2;
inline constexpr std::uint8_t kGifMaxCodeSize = 8;

class GifLzwDecoder {
public:
    // `minimumCodeSize` must be kGifMinCodeSize to kGifMaxCodeSize; `blocks`
    // are the length-prefixed sub-blocks.
    GifLzwDecoder(std::uint8_t minimumCodeSize, std::span<const std::uint8_t> blocks);

    // Fills `out` with the next colour indexes; fewer are written when the
    // data ends, holds the end code or a code that cannot be decoded.
    std::size_t Read(std::span<std::uint8_t> out);

private:
    static constexpr std::size_t kMaxCodes = 4096;
    static constexpr std::uint16_t kNone = 0xFFFF;

    bool NextByte(std::uint8_t& byte);
    bool NextCode(std::uint16_t& code);
    // Puts the string of `code` on the pending stack, its first index on top.
    bool PushString(std::uint16_t code);
    void Reset();

    std::span<const std::uint8_t> m_blocks;
    std::size_t m_at = 0;
    std::size_t m_blockLeft = 0;
    bool m_finished = false;

    std::uint32_t m_bits = 0;
    unsigned m_bitCount = 0;

    const std::uint8_t m_minimumCodeSize;
    const std::uint16_t m_clear;
    const std::uint16_t m_end;
    unsigned m_codeSize = 0;
    std::uint16_t m_next = 0;
    std::uint16_t m_previous = kNone;

    std::array<std::uint16_t, kMaxCodes> m_prefix{};
    std::array<std::uint8_t, kMaxCodes> m_suffix{};
    std::array<std::uint8_t, kMaxCodes> m_first{};
    std::array<std::uint8_t, kMaxCodes + 1> m_stack{};
    std::size_t m_stackSize = 0;
};

}  // namespace vellumry::units
