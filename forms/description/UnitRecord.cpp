#include "forms/description/UnitRecord.h"

#include <new>

#include "runtime/ByteReader.h"
#include "runtime/Values.h"

namespace vellumry::forms {
namespace {

using Record = std::span<const std::uint8_t>;
using runtime::ByteReader;

// Type tag, event source link and 4 reserved words.
constexpr std::uint64_t kLeadingWords = 6;
// Object slot, left, top, width, height, cursor slot, parent.
constexpr std::uint64_t kPlacementWords = 7;
constexpr std::uint64_t kTrailingReservedWords = 5;

constexpr std::size_t kPositionOffset = 4;     // from the object slot
constexpr std::size_t kCursorSlotOffset = 20;  // from the object slot
constexpr std::size_t kParentOffset = 24;      // from the object slot
constexpr std::size_t kMenuFlagsOffset = 8;    // from the menu state

std::uint32_t Word(Record record, std::size_t offset)
{
    return static_cast<std::uint32_t>(runtime::LoadWord(record.data() + offset));
}

std::string_view TextAt(Record record, std::size_t offset)
{
    // The walk has found the zero byte, so the text ends inside the record.
    return std::string_view(reinterpret_cast<const char*>(record.data() + offset));
}

bool SkipText(ByteReader& reader)
{
    std::string_view text;
    return reader.ReadZeroTerminated(text);
}

bool WalkMenuItem(ByteReader& reader, UnitRecordLayout& layout)
{
    layout.menuItem = true;
    layout.menuState = reader.Position();
    if (!reader.SkipWords(3))
        return false;
    layout.caption = reader.Position();
    if (!SkipText(reader))
        return false;
    layout.menuHandler = reader.Position();
    if (!reader.SkipWords(1))
        return false;
    layout.specific = reader.Position();
    return true;
}

bool WalkOrdinaryUnit(ByteReader& reader, UnitRecordLayout& layout)
{
    layout.objectSlot = reader.Position();
    layout.position = layout.objectSlot + kPositionOffset;
    layout.cursorSlot = layout.objectSlot + kCursorSlotOffset;
    layout.parent = layout.objectSlot + kParentOffset;
    if (!reader.SkipWords(kPlacementWords))
        return false;
    layout.children = reader.Position();
    if (!reader.ReadU32(layout.childCount) || !reader.SkipWords(layout.childCount))
        return false;
    layout.mousePointer = reader.Position();
    if (!reader.ReadU32(layout.mousePointerLength) || !reader.Skip(layout.mousePointerLength))
        return false;
    layout.tag = reader.Position();
    if (!SkipText(reader) || !reader.SkipWords(1))
        return false;
    layout.flags = reader.Position();
    if (!reader.SkipWords(2))
        return false;
    layout.events = reader.Position();
    if (!reader.ReadU32(layout.eventCount) || !reader.SkipWords(std::uint64_t{layout.eventCount} * 2) ||
        !reader.SkipWords(kTrailingReservedWords))
        return false;
    layout.specific = reader.Position();
    return true;
}

// The layout of an ordinary unit's record; nullopt for menu items too.
std::optional<UnitRecordLayout> WalkOrdinary(Record record)
{
    auto layout = WalkUnitRecord(record);
    if (!layout || layout->menuItem)
        return std::nullopt;
    return layout;
}

template <typename Value, typename Extract>
std::optional<Value> FromOrdinary(Record record, Extract extract)
{
    auto layout = WalkOrdinary(record);
    if (!layout)
        return std::nullopt;
    return extract(*layout);
}

std::vector<UnitId> Children(Record record, const UnitRecordLayout& layout)
{
    std::vector<UnitId> children(layout.childCount);
    for (std::uint32_t i = 0; i < layout.childCount; ++i)
        children[i] = Word(record, layout.children + 4 + 4 * std::size_t{i});
    return children;
}

std::vector<EventBinding> Bindings(Record record, const UnitRecordLayout& layout)
{
    std::vector<EventBinding> bindings(layout.eventCount);
    for (std::uint32_t i = 0; i < layout.eventCount; ++i) {
        std::size_t pair = layout.events + 4 + 8 * std::size_t{i};
        bindings[i] = {static_cast<std::int32_t>(Word(record, pair)), Word(record, pair + 4)};
    }
    return bindings;
}

Position PositionAt(Record record, const UnitRecordLayout& layout)
{
    std::size_t at = layout.position;
    auto value = [&](std::size_t i) { return static_cast<std::int32_t>(Word(record, at + 4 * i)); };
    return {value(0), value(1), value(2), value(3)};
}

}  // namespace

std::optional<UnitRecordLayout> WalkUnitRecord(Record record)
{
    ByteReader reader(record);
    UnitRecordLayout layout;
    std::uint32_t type = 0;
    if (!reader.ReadU32(type) || !reader.SkipWords(kLeadingWords - 1))
        return std::nullopt;
    layout.name = reader.Position();
    if (!SkipText(reader))
        return std::nullopt;
    layout.remark = reader.Position();
    if (!SkipText(reader))
        return std::nullopt;
    bool walked = type == runtime::kMenuItemType ? WalkMenuItem(reader, layout) : WalkOrdinaryUnit(reader, layout);
    if (!walked)
        return std::nullopt;
    return layout;
}

std::optional<runtime::DataTypeTag> UnitTypeOf(Record record)
{
    if (record.size() < 4)
        return std::nullopt;
    return Word(record, 0);
}

std::optional<std::string_view> UnitName(Record record)
{
    auto layout = WalkUnitRecord(record);
    if (!layout)
        return std::nullopt;
    return TextAt(record, layout->name);
}

std::optional<std::string_view> UnitRemark(Record record)
{
    auto layout = WalkUnitRecord(record);
    if (!layout)
        return std::nullopt;
    return TextAt(record, layout->remark);
}

std::optional<std::uint32_t> UnitObjectSlot(Record record)
{
    return FromOrdinary<std::uint32_t>(record, [&](const auto& l) { return Word(record, l.objectSlot); });
}

std::optional<Position> UnitPosition(Record record)
{
    return FromOrdinary<Position>(record, [&](const auto& l) { return PositionAt(record, l); });
}

std::optional<std::uint32_t> UnitCursorSlot(Record record)
{
    return FromOrdinary<std::uint32_t>(record,
                                       [&](const auto& l) { return Word(record, l.cursorSlot); });
}

std::optional<UnitId> UnitParent(Record record)
{
    return FromOrdinary<UnitId>(record, [&](const auto& l) { return Word(record, l.parent); });
}

std::optional<std::vector<UnitId>> UnitChildren(Record record)
{
    return FromOrdinary<std::vector<UnitId>>(record, [&](const auto& l) { return Children(record, l); });
}

std::optional<std::span<const std::uint8_t>> UnitMousePointer(Record record)
{
    return FromOrdinary<Record>(record,
                                [&](const auto& l) { return record.subspan(l.mousePointer + 4, l.mousePointerLength); });
}

std::optional<std::string_view> UnitTag(Record record)
{
    return FromOrdinary<std::string_view>(record, [&](const auto& l) { return TextAt(record, l.tag); });
}

std::optional<std::uint32_t> UnitFlags(Record record)
{
    return FromOrdinary<std::uint32_t>(record, [&](const auto& l) { return Word(record, l.flags); });
}

std::optional<std::int32_t> UnitTabOrder(Record record)
{
    return FromOrdinary<std::int32_t>(record,
                                      [&](const auto& l) { return static_cast<std::int32_t>(Word(record, l.flags + 4)); });
}

std::optional<std::vector<EventBinding>> UnitEventBindings(Record record)
{
    return FromOrdinary<std::vector<EventBinding>>(record, [&](const auto& l) { return Bindings(record, l); });
}

std::optional<std::span<const std::uint8_t>> UnitSpecificData(Record record)
{
    return FromOrdinary<Record>(record, [&](const auto& l) { return record.subspan(l.specific); });
}

std::uint32_t EventHandlerOf(Record record, std::int32_t event)
{
    auto layout = WalkUnitRecord(record);
    if (!layout)
        return kNoHandler;
    if (layout->menuItem)
        return Word(record, layout->menuHandler);
    for (std::uint32_t i = 0; i < layout->eventCount; ++i) {
        std::size_t pair = layout->events + 4 + 8 * std::size_t{i};
        if (static_cast<std::int32_t>(Word(record, pair)) == event)
            return Word(record, pair + 4);
    }
    return kNoHandler;
}

namespace {

std::optional<UnitRecordFields> Decode(const UnitRecord& unit, bool withSpecific)
{
    Record record = unit.data;
    auto layout = WalkUnitRecord(record);
    if (!layout)
        return std::nullopt;
    try {
        UnitRecordFields fields;
        fields.unitId = unit.unitId;
        fields.type = Word(record, 0);
        fields.eventSource = Word(record, 4);
        fields.name = TextAt(record, layout->name);
        fields.remark = TextAt(record, layout->remark);
        if (layout->menuItem) {
            fields.menu = MenuItemFields{Word(record, layout->menuState + kMenuFlagsOffset),
                                         std::string(TextAt(record, layout->caption)),
                                         Word(record, layout->menuHandler)};
            return fields;
        }
        fields.objectSlot = Word(record, layout->objectSlot);
        fields.position = PositionAt(record, *layout);
        fields.cursorSlot = Word(record, layout->cursorSlot);
        fields.parent = Word(record, layout->parent);
        fields.children = Children(record, *layout);
        auto pointer = record.subspan(layout->mousePointer + 4, layout->mousePointerLength);
        fields.mousePointer.assign(pointer.begin(), pointer.end());
        fields.tag = TextAt(record, layout->tag);
        fields.flags = Word(record, layout->flags);
        fields.tabOrder = static_cast<std::int32_t>(Word(record, layout->flags + 4));
        fields.events = Bindings(record, *layout);
        if (withSpecific) {
            auto specific = record.subspan(layout->specific);
            fields.specific.assign(specific.begin(), specific.end());
        }
        return fields;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<UnitRecordFields> DecodeUnit(const UnitRecord& unit)
{
    return Decode(unit, true);
}

std::optional<UnitRecordFields> DecodeUnitFields(const UnitRecord& unit)
{
    return Decode(unit, false);
}

}  // namespace vellumry::forms
