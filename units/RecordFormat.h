#pragma once

// The stored property records of the units. A record is a version word
// followed by its fields in a fixed stream order: 32-bit little-endian
// integers (one 16-bit field exists), texts and blocks, both written as a
// 32-bit byte length and the bytes, texts without a terminator. Fields added
// in later versions are present only when the stored version reaches them.
//
// Each record type describes its fields once, as a RecordLayout, and declares
// LayoutOf<Record>(). Loading, saving, the form builder and the inspector all
// walk that one description, so the stream order lives in one place.
//
// Loading starts from the record's defaults. Empty data gives the defaults.
// The load fails (nullopt) for a version below 0 or above the highest the
// record knows, for data that ends inside a field (a length that reaches past
// the end included) and for bytes left over after the last field. Nothing is
// allocated beyond copies of bytes that are present in the data.
//
// Saving always writes the highest version with every field.

#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/ByteReader.h"
#include "runtime/ByteWriter.h"

namespace vellumry::units {

using Bytes = std::vector<std::uint8_t>;

// A colour reference that stands for the system's button-face colour.
inline constexpr std::int32_t kButtonFaceColour = static_cast<std::int32_t>(0xFF000000);

// What a block field holds, for tools that describe records.
enum class BlockContent { Data, Picture, Sound, Font, ImageList, Columns, Rows, Parts };

template <typename Record>
struct RecordField {
    using Member = std::variant<std::int32_t Record::*, std::int16_t Record::*, std::string Record::*, Bytes Record::*>;
    std::string_view name;
    Member member;
    std::int32_t sinceVersion = 0;
    BlockContent content = BlockContent::Data;
};

template <typename Record>
struct RecordLayout {
    std::string_view name;
    std::int32_t highestVersion = 0;
    std::span<const RecordField<Record>> fields;
};

// Specialised by every record type, next to its field table.
template <typename Record>
const RecordLayout<Record>& LayoutOf();

namespace detail {

inline bool ReadField(runtime::ByteReader& reader, std::int32_t& value)
{
    return reader.ReadI32(value);
}

inline bool ReadField(runtime::ByteReader& reader, std::int16_t& value)
{
    return reader.ReadI16(value);
}

inline bool ReadField(runtime::ByteReader& reader, std::string& value)
{
    std::span<const std::uint8_t> bytes;
    if (!reader.ReadLengthPrefixed(bytes))
        return false;
    value.assign(runtime::AsText(bytes));
    return true;
}

inline bool ReadField(runtime::ByteReader& reader, Bytes& value)
{
    std::span<const std::uint8_t> bytes;
    if (!reader.ReadLengthPrefixed(bytes))
        return false;
    value.assign(bytes.begin(), bytes.end());
    return true;
}

inline void WriteField(runtime::ByteWriter& writer, std::int32_t value)
{
    writer.PutI32(value);
}

inline void WriteField(runtime::ByteWriter& writer, std::int16_t value)
{
    writer.PutI16(value);
}

inline void WriteField(runtime::ByteWriter& writer, const std::string& value)
{
    writer.PutLengthPrefixed(std::string_view(value));
}

inline void WriteField(runtime::ByteWriter& writer, const Bytes& value)
{
    writer.PutLengthPrefixed(std::span<const std::uint8_t>(value));
}

}  // namespace detail

// The version word a stored record starts with, when it has one.
inline std::optional<std::int32_t> StoredVersion(std::span<const std::uint8_t> data)
{
    runtime::ByteReader reader(data);
    std::int32_t version = 0;
    if (!reader.ReadI32(version))
        return std::nullopt;
    return version;
}

template <typename Record>
std::optional<Record> LoadRecord(std::span<const std::uint8_t> data)
{
    const RecordLayout<Record>& layout = LayoutOf<Record>();
    try {
        Record record{};
        if (data.empty())
            return record;
        runtime::ByteReader reader(data);
        std::int32_t version = 0;
        if (!reader.ReadI32(version) || version < 0 || version > layout.highestVersion)
            return std::nullopt;
        for (const RecordField<Record>& field : layout.fields) {
            if (version < field.sinceVersion)
                continue;
            bool read = std::visit([&](auto member) { return detail::ReadField(reader, record.*member); }, field.member);
            if (!read)
                return std::nullopt;
        }
        if (!reader.AtEnd())
            return std::nullopt;
        return record;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

template <typename Record>
Bytes SaveRecord(const Record& record)
{
    const RecordLayout<Record>& layout = LayoutOf<Record>();
    runtime::ByteWriter writer;
    writer.PutI32(layout.highestVersion);
    for (const RecordField<Record>& field : layout.fields)
        std::visit([&](auto member) { detail::WriteField(writer, record.*member); }, field.member);
    return writer.Take();
}

template <typename Record>
const RecordField<Record>* FindField(std::string_view name)
{
    for (const RecordField<Record>& field : LayoutOf<Record>().fields)
        if (field.name == name)
            return &field;
    return nullptr;
}

}  // namespace vellumry::units
