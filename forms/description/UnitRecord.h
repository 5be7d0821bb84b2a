#pragma once

// One unit record of a window template's unit table: the record's data, as
// UnitData and FindUnit (UnitTable.h) hand it out.
//
// Ordinary unit record: type tag, event source link, 4 reserved words, name
// and remark (zero-terminated), object slot, left, top, width, height, cursor
// slot, parent, children (count and UnitIds), mouse pointer (length and
// bytes), tag (zero-terminated), reserved, flags, tab order, event bindings
// (count and pairs of event number and handler), 5 reserved words, then the
// unit-specific data to the end of the record.
//
// Menu item record (type tag 0x00010003): type tag, event source link, 4
// reserved words, name, remark, 3 words of menu state (2 reserved, then the
// flags), the caption (zero-terminated) and one handler word.
//
// No field after the name has a fixed offset: every accessor walks the
// variable-length fields in order, checking each length against the record,
// and answers nullopt when the record ends too soon. The accessors of
// ordinary units' fields answer nullopt for menu items too. Records are byte
// data with no alignment; the accessors copy words out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/description/EventHandlers.h"
#include "forms/description/Identifiers.h"
#include "runtime/DataTypeTag.h"

namespace vellumry::forms {

// Flags word bits.
inline constexpr std::uint32_t kUnitVisible = 0x1;
inline constexpr std::uint32_t kUnitDisabled = 0x2;
inline constexpr std::uint32_t kUnitTabStop = 0x4;

// Menu item flags bits.
inline constexpr std::uint32_t kMenuItemHidden = 0x1;
inline constexpr std::uint32_t kMenuItemDisabled = 0x2;
inline constexpr std::uint32_t kMenuItemChecked = 0x4;

// A record as the unit table hands it out: its UnitId and its data.
struct UnitRecord {
    UnitId unitId = 0;
    std::span<const std::uint8_t> data;
};

struct Position {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const Position&) const = default;
};

// `handler` as stored: an offset, kStoredNoHandler for none; after the
// loader's fix-up: kNoHandler for none, else code base + offset.
struct EventBinding {
    std::int32_t event = 0;
    std::uint32_t handler = kStoredNoHandler;

    bool operator==(const EventBinding&) const = default;
};

// Where the fields after the variable-length ones lie, as offsets from the
// start of the record data.
struct UnitRecordLayout {
    bool menuItem = false;
    std::size_t name = 0;
    std::size_t remark = 0;
    // Ordinary units. The object slot is followed by left, top, width, height
    // (`position`), the cursor slot and the parent; the flags word by the tab
    // order.
    std::size_t objectSlot = 0;
    std::size_t position = 0;
    std::size_t cursorSlot = 0;
    std::size_t parent = 0;
    std::size_t children = 0;  // the count word
    std::uint32_t childCount = 0;
    std::size_t mousePointer = 0;  // the length word
    std::uint32_t mousePointerLength = 0;
    std::size_t tag = 0;
    std::size_t flags = 0;
    std::size_t events = 0;  // the count word
    std::uint32_t eventCount = 0;
    std::size_t specific = 0;  // menu items: the end of the handler word
    // Menu items.
    std::size_t menuState = 0;
    std::size_t caption = 0;
    std::size_t menuHandler = 0;
};

std::optional<UnitRecordLayout> WalkUnitRecord(std::span<const std::uint8_t> record);

std::optional<runtime::DataTypeTag> UnitTypeOf(std::span<const std::uint8_t> record);
std::optional<std::string_view> UnitName(std::span<const std::uint8_t> record);
std::optional<std::string_view> UnitRemark(std::span<const std::uint8_t> record);
std::optional<std::uint32_t> UnitObjectSlot(std::span<const std::uint8_t> record);
std::optional<Position> UnitPosition(std::span<const std::uint8_t> record);
std::optional<std::uint32_t> UnitCursorSlot(std::span<const std::uint8_t> record);
std::optional<UnitId> UnitParent(std::span<const std::uint8_t> record);
std::optional<std::vector<UnitId>> UnitChildren(std::span<const std::uint8_t> record);
std::optional<std::span<const std::uint8_t>> UnitMousePointer(std::span<const std::uint8_t> record);
std::optional<std::string_view> UnitTag(std::span<const std::uint8_t> record);
std::optional<std::uint32_t> UnitFlags(std::span<const std::uint8_t> record);
std::optional<std::int32_t> UnitTabOrder(std::span<const std::uint8_t> record);
std::optional<std::vector<EventBinding>> UnitEventBindings(std::span<const std::uint8_t> record);
std::optional<std::span<const std::uint8_t>> UnitSpecificData(std::span<const std::uint8_t> record);

// The handler bound to an event: for a menu item its single handler, for an
// ordinary unit the value of the first pair with that event number; 0 when
// there is none (or the record is malformed).
std::uint32_t EventHandlerOf(std::span<const std::uint8_t> record, std::int32_t event);

struct MenuItemFields {
    std::uint32_t flags = 0;
    std::string caption;
    std::uint32_t handler = kStoredNoHandler;

    bool operator==(const MenuItemFields&) const = default;
};

// Every field of a record, copied out; the form builder writes records from
// the same shape. Reserved words are not kept: they are written as 0.
struct UnitRecordFields {
    UnitId unitId = 0;  // from the unit table, not the record
    runtime::DataTypeTag type = 0;
    UnitId eventSource = 0;
    std::string name;
    std::string remark;
    // Ordinary units.
    std::uint32_t objectSlot = 0;
    Position position;
    std::uint32_t cursorSlot = 0;
    UnitId parent = 0;
    std::vector<UnitId> children;
    std::vector<std::uint8_t> mousePointer = std::vector<std::uint8_t>(4, 0);
    std::string tag;
    std::uint32_t flags = 0;
    std::int32_t tabOrder = 0;
    std::vector<EventBinding> events;
    std::vector<std::uint8_t> specific;
    // Set for menu items, whose records hold only the fields up to the remark
    // and these.
    std::optional<MenuItemFields> menu;

    bool operator==(const UnitRecordFields&) const = default;
};

std::optional<UnitRecordFields> DecodeUnit(const UnitRecord& unit);
// Every field but the unit-specific data, which stays empty: for rewriting a
// record's other fields around its data (WriteUnitRecord) without copying the
// data twice.
std::optional<UnitRecordFields> DecodeUnitFields(const UnitRecord& unit);

}  // namespace vellumry::forms
