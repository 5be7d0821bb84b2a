#include "units/picture/private/GifLzwDecoder.h"

namespace vellumry::units {

GifLzwDecoder::GifLzwDecoder(std::uint8_t minimumCodeSize, std::span<const std::uint8_t> blocks)
    : m_blocks(blocks),
      m_minimumCodeSize(minimumCodeSize),
      m_clear(static_cast<std::uint16_t>(1u << minimumCodeSize)),
      m_end(static_cast<std::uint16_t>(m_clear + 1))
{
    for (std::uint16_t i = 0; i < m_clear; ++i) {
        m_prefix[i] = kNone;
        m_suffix[i] = static_cast<std::uint8_t>(i);
        m_first[i] = static_cast<std::uint8_t>(i);
    }
    Reset();
}

void GifLzwDecoder::Reset()
{
    m_codeSize = m_minimumCodeSize + 1u;
    m_next = static_cast<std::uint16_t>(m_clear + 2);
    m_previous = kNone;
}

bool GifLzwDecoder::NextByte(std::uint8_t& byte)
{
    while (m_blockLeft == 0) {
        if (m_at >= m_blocks.size())
            return false;
        m_blockLeft = m_blocks[m_at++];
        if (m_blockLeft == 0)
            return false;  // the terminator
    }
    if (m_at >= m_blocks.size())
        return false;
    byte = m_blocks[m_at++];
    --m_blockLeft;
    return true;
}

bool GifLzwDecoder::NextCode(std::uint16_t& code)
{
    while (m_bitCount < m_codeSize) {
        std::uint8_t byte = 0;
        if (!NextByte(byte))
            return false;
        m_bits |= std::uint32_t{byte} << m_bitCount;
        m_bitCount += 8;
    }
    code = static_cast<std::uint16_t>(m_bits & ((1u << m_codeSize) - 1));
    m_bits >>= m_codeSize;
    m_bitCount -= m_codeSize;
    return true;
}

bool GifLzwDecoder::PushString(std::uint16_t code)
{
    // Each entry's prefix is an older entry, so a chain is at most as long
    // as the table; the bound holds even if that were not so.
    for (std::size_t steps = 0; code != kNone; ++steps) {
        if (steps >= kMaxCodes || m_stackSize >= m_stack.size())
            return false;
        m_stack[m_stackSize++] = m_suffix[code];
        code = m_prefix[code];
    }
    return true;
}

std::size_t GifLzwDecoder::Read(std::span<std::uint8_t> out)
{
    std::size_t written = 0;
    while (written < out.size()) {
        if (m_stackSize > 0) {
            out[written++] = m_stack[--m_stackSize];
            continue;
        }
        std::uint16_t code = 0;
        if (m_finished || !NextCode(code)) {
            m_finished = true;
            break;
        }
        if (code == m_clear) {
            Reset();
            continue;
        }
        if (code == m_end) {
            m_finished = true;
            break;
        }
        if (m_previous == kNone) {
            if (code >= m_clear) {
                m_finished = true;
                break;
            }
            m_stack[m_stackSize++] = m_suffix[code];
            m_previous = code;
            continue;
        }
        std::uint8_t first = 0;
        if (code < m_next) {
            first = m_first[code];
            if (!PushString(code)) {
                m_finished = true;
                break;
            }
        } else if (code == m_next && m_next < kMaxCodes) {
            // The string of the code being defined: the previous string and
            // its own first index.
            first = m_first[m_previous];
            m_stack[m_stackSize++] = first;
            if (!PushString(m_previous)) {
                m_finished = true;
                break;
            }
        } else {
            m_finished = true;
            break;
        }
        if (m_next < kMaxCodes) {
            m_prefix[m_next] = m_previous;
            m_suffix[m_next] = first;
            m_first[m_next] = m_first[m_previous];
            ++m_next;
            if (m_next == (1u << m_codeSize) && m_codeSize < 12)
                ++m_codeSize;
        }
        m_previous = code;
    }
    return written;
}

}  // namespace vellumry::units
