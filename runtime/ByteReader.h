#pragma once

// Reading little-endian data that comes from outside the program (the window
// template, stored property records). Every read checks the bytes left first
// and reports failure instead of reading past the end; nothing here
// allocates, so a length read from the data can never size an allocation
// before it has been compared with what is really there.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace vellumry::runtime {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Position() const { return m_position; }
    std::size_t Remaining() const { return m_bytes.size() - m_position; }
    bool AtEnd() const { return m_position == m_bytes.size(); }

    bool ReadU8(std::uint8_t& value) { return ReadRaw(&value, sizeof value); }
    bool ReadI16(std::int16_t& value) { return ReadRaw(&value, sizeof value); }
    bool ReadU32(std::uint32_t& value) { return ReadRaw(&value, sizeof value); }
    bool ReadI32(std::int32_t& value) { return ReadRaw(&value, sizeof value); }

    // The next `count` bytes, not copied.
    bool ReadBytes(std::size_t count, std::span<const std::uint8_t>& bytes)
    {
        if (count > Remaining())
            return false;
        bytes = m_bytes.subspan(m_position, count);
        m_position += count;
        return true;
    }

    // A 32-bit byte length followed by that many bytes.
    bool ReadLengthPrefixed(std::span<const std::uint8_t>& bytes)
    {
        std::size_t start = m_position;
        std::uint32_t length = 0;
        if (ReadU32(length) && ReadBytes(length, bytes))
            return true;
        m_position = start;
        return false;
    }

    // Skips `count` 32-bit words, failing when fewer are left.
    bool SkipWords(std::uint64_t count)
    {
        if (count > Remaining() / 4)
            return false;
        m_position += static_cast<std::size_t>(count) * 4;
        return true;
    }

    bool Skip(std::size_t count)
    {
        if (count > Remaining())
            return false;
        m_position += count;
        return true;
    }

    // A zero-terminated text; the view excludes the zero byte, which is consumed.
    bool ReadZeroTerminated(std::string_view& text)
    {
        const auto* start = m_bytes.data() + m_position;
        const void* zero = std::memchr(start, 0, Remaining());
        if (!zero)
            return false;
        std::size_t length = static_cast<const std::uint8_t*>(zero) - start;
        text = std::string_view(reinterpret_cast<const char*>(start), length);
        m_position += length + 1;
        return true;
    }

private:
    bool ReadRaw(void* value, std::size_t size)
    {
        if (size > Remaining())
            return false;
        std::memcpy(value, m_bytes.data() + m_position, size);
        m_position += size;
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

inline std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline std::string_view AsText(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace vellumry::runtime
