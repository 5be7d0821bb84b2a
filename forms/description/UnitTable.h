#pragma once

// A form's unit table: the unit count and the table block. The block holds
// the count's UnitIds, then as many record offsets (counted from the end of
// the offsets), then the records, each a length word and that many bytes of
// data. The record at offset 0, with the first UnitId, is the form's own
// window unit.
//
// Every record passes one check: it lies inside the block and its fields walk
// to its end (see UnitRecord.h), so a record that UnitData hands out also
// decodes. FromTemplate accepts a table only when every record passes that
// check after the handler fix-up and no two records share a byte; the
// accessors apply the same check on each call all the same, because the
// runtime's working copies are written to.
//
// Cost. The block is a copy-on-write block (runtime/base/CopyOnWriteBlock.h):
// a table read from the embedded template shares the executable's pages, and
// Copy() (a form's working copy) costs only the pages written since. A write
// of a slot, a position or the flags costs one page; replacing a record (a
// field that changes length, such as the tag) costs that record, which is
// kept apart from the block from then on.
//
// Records lend their unit-specific data (runtime/base/SharedBytes.h): it is
// never written in place, so a unit may keep borrowing it after the table
// is gone. Writes go to the fields before it only, and a record whose other
// fields change length is replaced whole. Window thread only, except reads
// of a table nobody writes.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/description/UnitRecord.h"
#include "runtime/base/CopyOnWriteBlock.h"

namespace vellumry::forms {

class UnitTable {
public:
    UnitTable() = default;
    UnitTable(UnitTable&&) noexcept = default;
    UnitTable& operator=(UnitTable&&) noexcept = default;

    // A table over a block of a template, checked, with its event handlers
    // fixed up against the code base (EventHandlers.h). Nullopt when the
    // table is malformed or memory cannot be had.
    static std::optional<UnitTable> FromTemplate(std::int32_t count, std::span<const std::uint8_t> block,
                                                 std::uintptr_t codeBase);

    // A copy of this table (the runtime's working copy); nullopt when memory
    // cannot be had.
    std::optional<UnitTable> Copy() const;

    std::int32_t Count() const { return m_count; }

    // The record at a stored position (0 is the window unit); nullopt outside
    // the table.
    std::optional<UnitRecord> UnitData(std::int32_t index) const;
    // The first record with this UnitId; nullopt when the form has none.
    std::optional<UnitRecord> FindUnit(UnitId unitId) const;
    // The position of the first record with this UnitId, or -1.
    std::int32_t IndexOf(UnitId unitId) const;

    // Writes into a record's fixed-size fields. False when the index is
    // outside the table, the record cannot be walked or is a menu item (for
    // the slots), or the word lies outside the record.
    bool SetObjectSlot(std::int32_t index, std::uint32_t value);
    bool SetCursorSlot(std::int32_t index, std::uint32_t value);
    // A word at `offset` in the record's data, which must lie before its
    // unit-specific data.
    bool WriteWord(std::int32_t index, std::size_t offset, std::uint32_t value);

    // Replaces one record's data (a working copy's field that changes
    // length, such as the tag). False when the index is outside the table.
    bool ReplaceRecordData(std::int32_t index, std::vector<std::uint8_t> data);

private:
    UnitTable(std::int32_t count, std::shared_ptr<runtime::CopyOnWriteBlock> block);

    // Where a record's data lies: in the block, or in its replacement.
    struct Place {
        runtime::CopyOnWriteBlock* storage = nullptr;
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    std::optional<Place> PlaceOf(std::int32_t index) const;
    static std::optional<Place> Walked(Place place);
    bool RecordsApart() const;
    bool CheckAndFixUp(std::uintptr_t codeBase);

    std::int32_t m_count = 0;
    std::shared_ptr<runtime::CopyOnWriteBlock> m_block;
    std::map<std::int32_t, std::shared_ptr<runtime::CopyOnWriteBlock>> m_replaced;
};

}  // namespace vellumry::forms
