#pragma once

// Building little-endian data: the inverse of ByteReader, used by the form
// builder and by units that save their property records.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace vellumry::runtime {

class ByteWriter {
public:
    void PutU8(std::uint8_t value) { m_bytes.push_back(value); }
    void PutI16(std::int16_t value) { PutRaw(&value, sizeof value); }
    void PutU32(std::uint32_t value) { PutRaw(&value, sizeof value); }
    void PutI32(std::int32_t value) { PutRaw(&value, sizeof value); }

    void PutBytes(std::span<const std::uint8_t> bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    void PutBytes(std::string_view text) { PutRaw(text.data(), text.size()); }

    // A 32-bit byte length followed by the bytes.
    void PutLengthPrefixed(std::span<const std::uint8_t> bytes)
    {
        PutU32(static_cast<std::uint32_t>(bytes.size()));
        PutBytes(bytes);
    }
    void PutLengthPrefixed(std::string_view text)
    {
        PutU32(static_cast<std::uint32_t>(text.size()));
        PutBytes(text);
    }

    // The text's bytes and a zero byte.
    void PutZeroTerminated(std::string_view text)
    {
        PutBytes(text);
        PutU8(0);
    }

    // Overwrites a word written earlier (for lengths known only afterwards).
    void PatchU32(std::size_t offset, std::uint32_t value) { std::memcpy(m_bytes.data() + offset, &value, 4); }

    std::size_t Size() const { return m_bytes.size(); }
    void Reserve(std::size_t size) { m_bytes.reserve(size); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    void PutRaw(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }

    std::vector<std::uint8_t> m_bytes;
};

}  // namespace vellumry::runtime
