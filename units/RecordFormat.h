#pragma once

// The stored property records of the units, and the records inside their
// blocks (report-list columns and rows, status-bar parts). A property record
// is a version word followed by its fields in a fixed stream order: 32-bit
// little-endian integers (one 16-bit field exists), texts and blocks, both
// written as a 32-bit byte length and the bytes, texts without a terminator.
// Fields added in later versions are present only when the stored version
// reaches them. The records inside blocks have no version word; their fields
// may also be single bytes and zero-terminated texts, and a block holds them
// back to back, with or without a leading count (LoadRecordList).
//
// Each record type describes its fields once, as a RecordLayout, and declares
// LayoutOf<Record>(). Loading, saving, the form builder and the inspector all
// walk that one description, so the stream order lives in one place.
//
// Loading starts from the record's defaults. Empty data gives the defaults.
// The load fails (nullopt) for a version below 0 or above the highest the
// record knows, for data that ends inside a field (a length that reaches past
// the end included) and for bytes left over after the last field. Nothing is
// allocated for data that is not there: a block field shares the bytes it was
// loaded from when their storage lends them (runtime/base/SharedBytes.h) and
// copies them otherwise.
//
// Saving always writes the highest version with every field.

#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/ByteReader.h"
#include "runtime/ByteWriter.h"
#include "runtime/base/SharedBytes.h"

namespace vellumry::units {

// A block field: shared, immutable bytes.
using Bytes = runtime::SharedBytes;

// A colour reference that stands for the system's button-face colour.
inline constexpr std::int32_t kButtonFaceColour = static_cast<std::int32_t>(0xFF000000);

// What a block field holds, for tools that describe records.
enum class BlockContent { Data, Picture, Sound, Font, ImageList, Columns, Rows, Parts };

// How a text field is stored.
enum class TextForm { LengthPrefixed, ZeroTerminated };

template <typename Record>
struct RecordField {
    using Member = std::variant<std::int32_t Record::*, std::int16_t Record::*, std::uint8_t Record::*,
                                std::string Record::*, Bytes Record::*>;
    std::string_view name;
    Member member;
    std::int32_t sinceVersion = 0;
    BlockContent content = BlockContent::Data;
    TextForm textForm = TextForm::LengthPrefixed;
};

// A text field stored zero-terminated (records inside blocks).
template <typename Record>
constexpr RecordField<Record> ZeroTerminatedText(std::string_view name, std::string Record::*member)
{
    return {name, member, 0, BlockContent::Data, TextForm::ZeroTerminated};
}

template <typename Record>
struct RecordLayout {
    std::string_view name;
    std::int32_t highestVersion = 0;
    std::span<const RecordField<Record>> fields;
    // Property records start with a version word; records inside blocks do not.
    bool versioned = true;
};

// Specialised by every record type, next to its field table.
template <typename Record>
const RecordLayout<Record>& LayoutOf();

namespace detail {

inline bool ReadField(runtime::ByteReader& reader, std::int32_t& value, TextForm)
{
    return reader.ReadI32(value);
}

inline bool ReadField(runtime::ByteReader& reader, std::int16_t& value, TextForm)
{
    return reader.ReadI16(value);
}

inline bool ReadField(runtime::ByteReader& reader, std::uint8_t& value, TextForm)
{
    return reader.ReadU8(value);
}

inline bool ReadField(runtime::ByteReader& reader, std::string& value, TextForm form)
{
    if (form == TextForm::ZeroTerminated) {
        std::string_view text;
        if (!reader.ReadZeroTerminated(text))
            return false;
        value.assign(text);
        return true;
    }
    std::span<const std::uint8_t> bytes;
    if (!reader.ReadLengthPrefixed(bytes))
        return false;
    value.assign(runtime::AsText(bytes));
    return true;
}

inline bool ReadField(runtime::ByteReader& reader, Bytes& value, TextForm)
{
    std::span<const std::uint8_t> bytes;
    if (!reader.ReadLengthPrefixed(bytes))
        return false;
    value = Bytes::Borrow(bytes);
    return true;
}

inline void WriteField(runtime::ByteWriter& writer, std::int32_t value, TextForm = TextForm::LengthPrefixed)
{
    writer.PutI32(value);
}

inline void WriteField(runtime::ByteWriter& writer, std::int16_t value, TextForm = TextForm::LengthPrefixed)
{
    writer.PutI16(value);
}

inline void WriteField(runtime::ByteWriter& writer, std::uint8_t value, TextForm = TextForm::LengthPrefixed)
{
    writer.PutU8(value);
}

inline void WriteField(runtime::ByteWriter& writer, const std::string& value,
                       TextForm form = TextForm::LengthPrefixed)
{
    if (form == TextForm::ZeroTerminated)
        writer.PutZeroTerminated(value);
    else
        writer.PutLengthPrefixed(std::string_view(value));
}

inline void WriteField(runtime::ByteWriter& writer, const Bytes& value, TextForm = TextForm::LengthPrefixed)
{
    writer.PutLengthPrefixed(value.Span());
}

// The fields of `version` and earlier, in stream order.
template <typename Record>
bool ReadFields(runtime::ByteReader& reader, Record& record, std::int32_t version)
{
    for (const RecordField<Record>& field : LayoutOf<Record>().fields) {
        if (version < field.sinceVersion)
            continue;
        bool read = std::visit([&](auto member) { return ReadField(reader, record.*member, field.textForm); },
                               field.member);
        if (!read)
            return false;
    }
    return true;
}

template <typename Record>
void WriteFields(runtime::ByteWriter& writer, const Record& record)
{
    for (const RecordField<Record>& field : LayoutOf<Record>().fields)
        std::visit([&](auto member) { WriteField(writer, record.*member, field.textForm); }, field.member);
}

// The fewest bytes one record of the layout can take: what a count read
// from outside data is checked against before anything is reserved.
template <typename Record>
std::size_t SmallestRecord()
{
    std::size_t size = 0;
    for (const RecordField<Record>& field : LayoutOf<Record>().fields) {
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(std::declval<Record&>().*member)>;
                if constexpr (std::is_same_v<Value, std::string>)
                    size += field.textForm == TextForm::ZeroTerminated ? 1 : 4;
                else if constexpr (std::is_same_v<Value, Bytes>)
                    size += 4;
                else
                    size += sizeof(Value);
            },
            field.member);
    }
    return size;
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
    static_assert(std::is_default_constructible_v<Record>);
    try {
        Record record{};
        if (data.empty())
            return record;
        runtime::ByteReader reader(data);
        std::int32_t version = 0;
        if (!reader.ReadI32(version) || version < 0 || version > layout.highestVersion)
            return std::nullopt;
        if (!detail::ReadFields(reader, record, version) || !reader.AtEnd())
            return std::nullopt;
        return record;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

template <typename Record>
std::vector<std::uint8_t> SaveRecord(const Record& record)
{
    runtime::ByteWriter writer;
    writer.PutI32(LayoutOf<Record>().highestVersion);
    detail::WriteFields(writer, record);
    return writer.Take();
}

// How a block holds records without version words: back to back to its end,
// or after a 32-bit count.
enum class ListForm { ToTheEnd, Counted };

// The records of a block. Empty data is no records. Fails for data that ends
// inside a record, a negative count or one the data cannot hold, and for
// bytes after the counted records.
template <typename Record>
std::optional<std::vector<Record>> LoadRecordList(std::span<const std::uint8_t> block, ListForm form)
{
    try {
        std::vector<Record> records;
        if (block.empty())
            return records;
        runtime::ByteReader reader(block);
        std::int32_t count = 0;
        if (form == ListForm::Counted) {
            if (!reader.ReadI32(count) || count < 0 ||
                static_cast<std::size_t>(count) > reader.Remaining() / detail::SmallestRecord<Record>())
                return std::nullopt;
            records.reserve(static_cast<std::size_t>(count));
        }
        while (form == ListForm::Counted ? records.size() < static_cast<std::size_t>(count) : !reader.AtEnd()) {
            Record record{};
            if (!detail::ReadFields(reader, record, 0))
                return std::nullopt;
            records.push_back(std::move(record));
        }
        if (!reader.AtEnd())
            return std::nullopt;
        return records;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

template <typename Record>
std::vector<std::uint8_t> SaveRecordList(std::span<const Record> records, ListForm form)
{
    runtime::ByteWriter writer;
    if (form == ListForm::Counted)
        writer.PutI32(static_cast<std::int32_t>(records.size()));
    for (const Record& record : records)
        detail::WriteFields(writer, record);
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
