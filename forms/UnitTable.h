#pragma once

// A form's unit table: the unit count and the table block, held as one byte
// block. The block holds the count's UnitIds, then as many record offsets
// (counted from the end of the offsets), then the records, each a length word
// and that many bytes of data. The record at offset 0, with the first UnitId,
// is the form's own window unit.
//
// Every record passes one check, RecordAt: it lies inside the block and its
// fields walk to its end (see UnitRecord.h), so a record that UnitData hands
// out also decodes. FromTemplate accepts a table only when every record passes
// that check after the handler fix-up and no two records share a byte; the
// accessors apply the same check on each call all the same, because the
// runtime's working copies are written to.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "forms/Identifiers.h"
#include "forms/UnitRecord.h"

namespace vellumry::forms {

class UnitTable {
public:
    UnitTable() = default;
    UnitTable(UnitTable&&) noexcept = default;
    UnitTable& operator=(UnitTable&&) noexcept = default;

    // Copies a table block out of a template, checks it and fixes its event
    // handlers up against the code base (EventHandlers.h). Nullopt when the
    // table is malformed or the copy cannot be allocated.
    static std::optional<UnitTable> FromTemplate(std::int32_t count, std::span<const std::uint8_t> block,
                                                 std::uintptr_t codeBase);

    // A copy of this table (the runtime's working copy); nullopt when it
    // cannot be allocated.
    std::optional<UnitTable> Copy() const;

    std::int32_t Count() const { return m_count; }
    std::span<const std::uint8_t> Block() const { return {m_block.get(), m_size}; }

    // The record at a stored position (0 is the window unit); nullopt outside
    // the table.
    std::optional<UnitRecord> UnitData(std::int32_t index) const;
    // The first record with this UnitId; nullopt when the form has none.
    std::optional<UnitRecord> FindUnit(UnitId unitId) const;
    // The position of the first record with this UnitId, or -1.
    std::int32_t IndexOf(UnitId unitId) const;
    // Writable record data, for the slots of a working copy; nullopt outside
    // the table.
    std::optional<std::span<std::uint8_t>> MutableRecordData(std::int32_t index);
    // Replaces one record's data (a working copy's field that changes length,
    // such as the tag); the block is rebuilt with every other record kept.
    // False when the index is outside the table or the copy cannot be made.
    bool ReplaceRecordData(std::int32_t index, std::span<const std::uint8_t> data);

private:
    UnitTable(std::int32_t count, std::unique_ptr<std::uint8_t[]> block, std::size_t size);

    struct CheckedRecord {
        std::span<const std::uint8_t> data;
        UnitRecordLayout layout;
    };

    std::optional<CheckedRecord> RecordAt(std::int32_t index) const;
    bool RecordsApart() const;
    bool CheckAndFixUp(std::uintptr_t codeBase);

    std::int32_t m_count = 0;
    std::unique_ptr<std::uint8_t[]> m_block;
    std::size_t m_size = 0;
};

}  // namespace vellumry::forms
