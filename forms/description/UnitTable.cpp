#include "forms/description/UnitTable.h"

#include <algorithm>
#include <new>
#include <utility>

#include "forms/description/UnitRecord.h"
#include "runtime/Values.h"

namespace vellumry::forms {
namespace {

constexpr std::size_t kWord = 4;

}  // namespace

UnitTable::UnitTable(std::int32_t count, std::shared_ptr<runtime::CopyOnWriteBlock> block)
    : m_count(count), m_block(std::move(block))
{
}

std::optional<UnitTable> UnitTable::FromTemplate(std::int32_t count, std::span<const std::uint8_t> block,
                                                 std::uintptr_t codeBase)
{
    // The ids and offsets must fit before anything is mapped or copied.
    if (count < 0 || static_cast<std::uint64_t>(count) * 2 * kWord > block.size())
        return std::nullopt;
    auto storage = runtime::CopyOnWriteBlock::Of(block);
    if (!storage)
        return std::nullopt;
    UnitTable table(count, std::move(storage));
    if (!table.CheckAndFixUp(codeBase))
        return std::nullopt;
    return table;
}

std::optional<UnitTable> UnitTable::Copy() const
{
    if (!m_block)
        return UnitTable();
    auto block = m_block->Copy();
    if (!block)
        return std::nullopt;
    UnitTable copy(m_count, std::move(block));
    for (const auto& [index, record] : m_replaced) {
        auto replaced = record->Copy();
        if (!replaced)
            return std::nullopt;
        copy.m_replaced.emplace(index, std::move(replaced));
    }
    return copy;
}

std::optional<UnitTable::Place> UnitTable::PlaceOf(std::int32_t index) const
{
    if (index < 0 || index >= m_count)
        return std::nullopt;
    if (auto replaced = m_replaced.find(index); replaced != m_replaced.end())
        return Walked(Place{replaced->second.get(), 0, replaced->second->Size()});
    std::span<const std::uint8_t> block = m_block->Bytes();
    auto count = static_cast<std::size_t>(m_count);
    std::size_t recordsStart = 2 * kWord * count;
    auto offset = static_cast<std::uint32_t>(runtime::LoadWord(block.data() + kWord * (count + index)));
    std::size_t available = block.size() - recordsStart;
    if (offset > available || available - offset < kWord)
        return std::nullopt;
    std::size_t at = recordsStart + offset;
    auto length = static_cast<std::uint32_t>(runtime::LoadWord(block.data() + at));
    if (length > available - offset - kWord)
        return std::nullopt;
    return Walked(Place{m_block.get(), at + kWord, length});
}

// The one check of a record, made by the reader on every record before it
// accepts a table and by every accessor before it hands a record out: it lies
// inside its storage and its fields walk to its end.
std::optional<UnitTable::Place> UnitTable::Walked(Place place)
{
    if (!WalkUnitRecord(place.storage->Bytes().subspan(place.offset, place.size)))
        return std::nullopt;
    return place;
}

std::optional<UnitRecord> UnitTable::UnitData(std::int32_t index) const
{
    auto place = PlaceOf(index);
    if (!place)
        return std::nullopt;
    auto unitId = static_cast<UnitId>(runtime::LoadWord(m_block->Bytes().data() + kWord * index));
    return UnitRecord{unitId, place->storage->Bytes().subspan(place->offset, place->size)};
}

std::int32_t UnitTable::IndexOf(UnitId unitId) const
{
    for (std::int32_t i = 0; i < m_count; ++i)
        if (static_cast<UnitId>(runtime::LoadWord(m_block->Bytes().data() + kWord * i)) == unitId)
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

bool UnitTable::WriteWord(std::int32_t index, std::size_t offset, std::uint32_t value)
{
    auto place = PlaceOf(index);
    if (!place)
        return false;
    auto record = place->storage->Bytes().subspan(place->offset, place->size);
    auto layout = WalkUnitRecord(record);
    // Never into the unit-specific data, which the record lends.
    if (!layout || offset > layout->specific || layout->specific - offset < kWord)
        return false;
    std::uint8_t bytes[kWord];
    runtime::StoreWord(bytes, static_cast<std::int32_t>(value));
    return place->storage->Write(place->offset + offset, bytes);
}

bool UnitTable::SetObjectSlot(std::int32_t index, std::uint32_t value)
{
    auto record = UnitData(index);
    auto layout = record ? WalkUnitRecord(record->data) : std::nullopt;
    return layout && !layout->menuItem && WriteWord(index, layout->objectSlot, value);
}

bool UnitTable::SetCursorSlot(std::int32_t index, std::uint32_t value)
{
    auto record = UnitData(index);
    auto layout = record ? WalkUnitRecord(record->data) : std::nullopt;
    return layout && !layout->menuItem && WriteWord(index, layout->cursorSlot, value);
}

bool UnitTable::ReplaceRecordData(std::int32_t index, std::vector<std::uint8_t> data)
{
    if (index < 0 || index >= m_count)
        return false;
    auto record = runtime::CopyOnWriteBlock::Adopt(std::move(data));
    if (!record)
        return false;
    m_replaced[index] = std::move(record);
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
        auto place = PlaceOf(i);
        if (!place)
            return false;
        if (place->storage == m_block.get())
            extents.emplace_back(place->offset - kWord, place->offset + place->size);
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
        auto record = UnitData(i);
        auto layout = record ? WalkUnitRecord(record->data) : std::nullopt;
        if (!layout)
            return false;
        auto fixUp = [&](std::size_t offset) {
            auto stored = static_cast<std::uint32_t>(runtime::LoadWord(record->data.data() + offset));
            return WriteWord(i, offset, FixUpHandler(stored, codeBase));
        };
        if (layout->menuItem) {
            if (!fixUp(layout->menuHandler))
                return false;
            continue;
        }
        for (std::uint32_t e = 0; e < layout->eventCount; ++e)
            if (!fixUp(layout->events + kWord + 2 * kWord * std::size_t{e} + kWord))
                return false;
    }
    // The table is accepted only as the accessors will find it.
    for (std::int32_t i = 0; i < m_count; ++i)
        if (!PlaceOf(i))
            return false;
    return true;
}

}  // namespace vellumry::forms
