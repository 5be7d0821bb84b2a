#include "forms/UnitTable.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "forms/UnitRecord.h"
#include "runtime/Values.h"

namespace vellumry::forms {
namespace {

std::unique_ptr<std::uint8_t[]> CopyBlock(std::span<const std::uint8_t> block)
{
    try {
        auto copy = std::make_unique_for_overwrite<std::uint8_t[]>(block.size());
        if (!block.empty())
            std::memcpy(copy.get(), block.data(), block.size());
        return copy;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

UnitTable::UnitTable(std::int32_t count, std::unique_ptr<std::uint8_t[]> block, std::size_t size)
    : m_count(count), m_block(std::move(block)), m_size(size)
{
}

std::optional<UnitTable> UnitTable::FromTemplate(std::int32_t count, std::span<const std::uint8_t> block,
                                                 std::uintptr_t codeBase)
{
    // The ids and offsets must fit before anything is copied.
    if (count < 0 || static_cast<std::uint64_t>(count) * 8 > block.size())
        return std::nullopt;
    auto copy = CopyBlock(block);
    if (!copy)
        return std::nullopt;
    UnitTable table(count, std::move(copy), block.size());
    if (!table.CheckAndFixUp(codeBase))
        return std::nullopt;
    return table;
}

std::optional<UnitTable> UnitTable::Copy() const
{
    auto copy = CopyBlock(Block());
    if (!copy)
        return std::nullopt;
    return UnitTable(m_count, std::move(copy), m_size);
}

// The one check of a record, made by the reader on every record before it
// accepts a table and by every accessor before it hands a record out.
std::optional<UnitTable::CheckedRecord> UnitTable::RecordAt(std::int32_t index) const
{
    if (index < 0 || index >= m_count)
        return std::nullopt;
    auto count = static_cast<std::size_t>(m_count);
    std::size_t recordsStart = 8 * count;
    auto offset = static_cast<std::uint32_t>(runtime::LoadWord(m_block.get() + 4 * (count + index)));
    std::size_t available = m_size - recordsStart;
    if (offset > available || available - offset < 4)
        return std::nullopt;
    const std::uint8_t* record = m_block.get() + recordsStart + offset;
    auto length = static_cast<std::uint32_t>(runtime::LoadWord(record));
    if (length > available - offset - 4)
        return std::nullopt;
    std::span<const std::uint8_t> data(record + 4, length);
    auto layout = WalkUnitRecord(data);
    if (!layout)
        return std::nullopt;
    return CheckedRecord{data, *layout};
}

std::optional<UnitRecord> UnitTable::UnitData(std::int32_t index) const
{
    auto record = RecordAt(index);
    if (!record)
        return std::nullopt;
    return UnitRecord{static_cast<UnitId>(runtime::LoadWord(m_block.get() + 4 * index)), record->data};
}

std::int32_t UnitTable::IndexOf(UnitId unitId) const
{
    for (std::int32_t i = 0; i < m_count; ++i)
        if (static_cast<UnitId>(runtime::LoadWord(m_block.get() + 4 * i)) == unitId)
            return i;
    return -1;
}

std::optional<UnitRecord> UnitTable::FindUnit(UnitId unitId) const
{
    // The first id is the window unit, the one asked for most often; the
    // search handles it at its first step.
    std::int32_t index = IndexOf(unitId);
    if (index < 0)
        return std::nullopt;
    return UnitData(index);
}

std::optional<std::span<std::uint8_t>> UnitTable::MutableRecordData(std::int32_t index)
{
    auto record = RecordAt(index);
    if (!record)
        return std::nullopt;
    return std::span<std::uint8_t>(m_block.get() + (record->data.data() - m_block.get()), record->data.size());
}

bool UnitTable::ReplaceRecordData(std::int32_t index, std::span<const std::uint8_t> data)
{
    if (index < 0 || index >= m_count || !WalkUnitRecord(data))
        return false;
    auto count = static_cast<std::size_t>(m_count);
    std::vector<std::span<const std::uint8_t>> records;
    std::size_t size = 8 * count;
    for (std::int32_t i = 0; i < m_count; ++i) {
        std::span<const std::uint8_t> record = data;
        if (i != index) {
            auto kept = RecordAt(i);
            if (!kept)
                return false;
            record = kept->data;
        }
        records.push_back(record);
        size += 4 + record.size();
    }
    std::unique_ptr<std::uint8_t[]> block;
    try {
        block = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(block.get(), m_block.get(), 4 * count);  // the UnitIds
    std::size_t offset = 0;
    std::uint8_t* out = block.get() + 8 * count;
    for (std::size_t i = 0; i < count; ++i) {
        runtime::StoreWord(block.get() + 4 * (count + i), static_cast<std::int32_t>(offset));
        runtime::StoreWord(out + offset, static_cast<std::int32_t>(records[i].size()));
        if (!records[i].empty())
            std::memcpy(out + offset + 4, records[i].data(), records[i].size());
        offset += 4 + records[i].size();
    }
    m_block = std::move(block);
    m_size = size;
    return true;
}

// Records lie apart: no byte of the block, length words included, belongs to
// two records. The handler fix-up, and later the runtime's writes of slots,
// positions and flags into its working copy, change one record's words; a
// shared word could be another record's length or a count that record is
// walked by, already checked, or a handler word fixed up twice.
bool UnitTable::RecordsApart() const
{
    std::vector<std::pair<std::size_t, std::size_t>> extents;
    try {
        extents.reserve(static_cast<std::size_t>(m_count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::int32_t i = 0; i < m_count; ++i) {
        auto record = RecordAt(i);
        if (!record)
            return false;
        auto start = static_cast<std::size_t>(record->data.data() - m_block.get()) - 4;
        extents.emplace_back(start, start + 4 + record->data.size());
    }
    std::sort(extents.begin(), extents.end());
    for (std::size_t i = 1; i < extents.size(); ++i)
        if (extents[i].first < extents[i - 1].second)
            return false;
    return true;
}

bool UnitTable::CheckAndFixUp(std::uintptr_t codeBase)
{
    if (!RecordsApart())
        return false;
    for (std::int32_t i = 0; i < m_count; ++i) {
        auto record = RecordAt(i);
        if (!record)
            return false;
        std::uint8_t* data = m_block.get() + (record->data.data() - m_block.get());
        auto fixUp = [&](std::size_t offset) {
            auto stored = static_cast<std::uint32_t>(runtime::LoadWord(data + offset));
            runtime::StoreWord(data + offset, static_cast<std::int32_t>(FixUpHandler(stored, codeBase)));
        };
        if (record->layout.menuItem) {
            fixUp(record->layout.menuHandler);
            continue;
        }
        for (std::uint32_t e = 0; e < record->layout.eventCount; ++e)
            fixUp(record->layout.events + 4 + 8 * std::size_t{e} + 4);
    }
    // The table is accepted only as the accessors will find it.
    for (std::int32_t i = 0; i < m_count; ++i)
        if (!RecordAt(i))
            return false;
    return true;
}

}  // namespace vellumry::forms
