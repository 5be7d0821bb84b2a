#include "forms/engine/UnitProperties.h"

#include <algorithm>
#include <cstring>

#include "forms/description/PropertyKinds.h"
#include "forms/description/SupportLibraries.h"
#include "forms/description/TemplateWriter.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/ObjectHandles.h"
#include "forms/engine/PropertyValues.h"
#include "forms/engine/UnitCursors.h"
#include "forms/engine/UnitType.h"
#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/WindowThreadCalls.h"
#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeTexts.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::forms {
namespace {

enum CommonProperty { kLeft = 0, kTop, kWidth, kHeight, kTag, kVisible, kDisabled, kMousePointer };
enum MenuItemProperty { kMenuCaption = 0, kMenuChecked, kMenuDisabled, kMenuVisible };

[[noreturn]] void Report(const char* message, std::uint32_t formId, std::uint32_t unitId)
{
    runtime::ReportError(message, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

std::uint64_t Pointer(const void* p)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
}

// A unit addressed by a property request, with everything the request needs.
struct Target {
    LoadedForm* form = nullptr;
    UnitTable* units = nullptr;
    std::int32_t index = -1;
    UnitRecord record;
    ui::WindowObject* object = nullptr;  // when the window exists
    HWND window = nullptr;
};

Target Find(std::uint32_t formId, std::uint32_t unitId)
{
    Target target;
    target.form = FindLoadedForm(formId);
    if (!target.form)
        Report(runtime::texts::kFormOfUnitNotLoaded, formId, unitId);
    target.units = &CurrentUnits(*target.form);
    target.index = UnitIndex(*target.units, unitId);
    auto record = target.index >= 0 ? target.units->UnitData(target.index) : std::nullopt;
    if (!record)
        Report(runtime::texts::kUnitNotLoaded, formId, unitId);
    target.record = *record;
    target.object = UnitObject(*target.form, target.index);
    if (target.object && IsWindow(target.object->Handle()))
        target.window = target.object->Handle();
    else
        target.object = nullptr;
    return target;
}

// The unit's rectangle relative to its parent's client area; a form window's
// outer frame on the screen.
RECT LiveRectangle(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HWND parent = GetParent(window);
    if (parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        MapWindowPoints(nullptr, parent, corners, 2);
        rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    return rect;
}

std::uint64_t ReadCommon(const Target& target, std::int32_t index)
{
    std::span<const std::uint8_t> data = target.record.data;
    Position stored = UnitPosition(data).value_or(Position{});
    std::uint32_t flags = UnitFlags(data).value_or(0);
    switch (index) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: {
        std::int32_t value = index == kLeft ? stored.left : index == kTop ? stored.top
                             : index == kWidth ? stored.width : stored.height;
        if (target.window) {
            RECT rect = LiveRectangle(target.window);
            value = index == kLeft ? rect.left : index == kTop ? rect.top
                    : index == kWidth ? rect.right - rect.left : rect.bottom - rect.top;
        }
        return static_cast<std::uint32_t>(value);
    }
    case kTag:
        return Pointer(runtime::MakeTextOrNull(UnitTag(data).value_or(std::string_view())));
    case kVisible:
        if (target.window)
            return IsWindowVisible(target.window) ? 1 : 0;
        return (flags & kUnitVisible) ? 1 : 0;
    case kDisabled:
        if (target.window)
            return IsWindowEnabled(target.window) ? 0 : 1;
        return (flags & kUnitDisabled) ? 1 : 0;
    case kMousePointer: {
        auto pointer = UnitMousePointer(data).value_or(std::span<const std::uint8_t>());
        std::vector<std::uint8_t> bytes(pointer.begin(), pointer.end());
        ToPublicPointerData(bytes);
        return Pointer(runtime::MakeByteSet(bytes));
    }
    default:
        return 0;
    }
}

// The fields of the target's record before its unit-specific data, for a
// change of one of them; nullopt for a record that cannot be walked.
std::optional<UnitRecordFields> FieldsOf(const Target& target)
{
    return DecodeUnitFields(target.record);
}

// Rewrites the target's record with changed fields around its unprecedented
// unit-specific data: one copy of the record, however large its data.
void ReplaceFields(Target& target, const UnitRecordFields& fields)
{
    auto specific = UnitSpecificData(target.record.data).value_or(std::span<const std::uint8_t>());
    target.units->ReplaceRecordData(target.index, WriteUnitRecord(fields, specific));
}

// The layout of the target's record when it is an ordinary unit's.
std::optional<UnitRecordLayout> OrdinaryLayout(const Target& target)
{
    auto layout = WalkUnitRecord(target.record.data);
    if (!layout || layout->menuItem)
        return std::nullopt;
    return layout;
}

void WritePlacement(Target& target, std::int32_t index, std::int32_t value)
{
    if (index == kLeft || index == kTop)
        value = std::clamp(value, -kPlacementLimit, kPlacementLimit);
    else
        value = std::clamp(value, 0, kPlacementLimit);
    auto layout = OrdinaryLayout(target);
    if (!layout)
        return;
    // Left, top, width and height in that order.
    target.units->WriteWord(target.index, layout->position + 4 * static_cast<std::size_t>(index),
                            static_cast<std::uint32_t>(value));
    if (!target.window)
        return;
    RECT rect = LiveRectangle(target.window);
    LONG left = rect.left;
    LONG top = rect.top;
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    switch (index) {
    case kLeft: left = value; break;
    case kTop: top = value; break;
    case kWidth: width = value; break;
    default: height = value; break;
    }
    MoveWindow(target.window, left, top, width, height, TRUE);
}

void WriteFlag(Target& target, std::uint32_t bit, bool set)
{
    auto layout = OrdinaryLayout(target);
    if (!layout)
        return;
    std::uint32_t flags = UnitFlags(target.record.data).value_or(0);
    flags = set ? (flags | bit) : (flags & ~bit);
    target.units->WriteWord(target.index, layout->flags, flags);
}

void WriteMousePointer(Target& target, std::uint64_t payload)
{
    auto fields = FieldsOf(target);
    if (!fields || fields->menu)
        return;
    auto bytes = runtime::ByteSetBytes(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(payload)));
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    ToStoredPointerData(data);
    if (fields->cursorSlot != 0) {
        DestroyCursor(static_cast<HCURSOR>(LookupObject(fields->cursorSlot)));
        ReleaseObject(fields->cursorSlot);
        fields->cursorSlot = 0;
    }
    HCURSOR cursor = target.window ? CursorFromPointerData(data) : nullptr;
    if (cursor)
        fields->cursorSlot = RegisterObject(cursor);
    fields->mousePointer = data;
    ReplaceFields(target, *fields);
    if (target.window) {
        ui::SetWindowCursor(target.window, cursor);
        // Re-set the mouse position so that the new cursor shows at once.
        POINT at;
        if (GetCursorPos(&at))
            SetCursorPos(at.x, at.y);
    }
}

void WriteCommon(Target& target, std::int32_t index, std::uint32_t low, std::uint32_t high)
{
    std::uint64_t payload = (static_cast<std::uint64_t>(high) << 32) | low;
    switch (index) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight:
        WritePlacement(target, index, static_cast<std::int32_t>(low));
        break;
    case kTag: {
        auto fields = FieldsOf(target);
        if (!fields || fields->menu)
            return;
        fields->tag = runtime::TextView(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(payload)));
        ReplaceFields(target, *fields);
        break;
    }
    case kVisible:
        WriteFlag(target, kUnitVisible, low != 0);
        if (target.window)
            ShowWindow(target.window, low != 0 ? (target.index == 0 ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
        break;
    case kDisabled:
        WriteFlag(target, kUnitDisabled, low != 0);
        if (target.window)
            EnableWindow(target.window, low != 0 ? FALSE : TRUE);
        break;
    case kMousePointer:
        WriteMousePointer(target, payload);
        break;
    default:
        break;
    }
}

std::uint64_t ReadMenuItem(const Target& target, std::int32_t index)
{
    auto fields = DecodeUnit(target.record);
    if (!fields || !fields->menu)
        return 0;
    std::uint32_t flags = fields->menu->flags;
    switch (index) {
    case kMenuCaption: return Pointer(runtime::MakeTextOrNull(fields->menu->caption));
    case kMenuChecked: return (flags & kMenuItemChecked) ? 1 : 0;
    case kMenuDisabled: return (flags & kMenuItemDisabled) ? 1 : 0;
    case kMenuVisible: return (flags & kMenuItemHidden) ? 0 : 1;
    default: return 0;
    }
}

// Menu items keep their state in the record; no menu bar is built from them
// by this engine, so there is nothing else to rebuild.
void WriteMenuItem(Target& target, std::int32_t index, std::uint32_t low, std::uint32_t high)
{
    auto fields = FieldsOf(target);
    if (!fields || !fields->menu)
        return;
    std::uint32_t& flags = fields->menu->flags;
    auto set = [&](std::uint32_t bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); };
    switch (index) {
    case kMenuCaption: {
        std::uint64_t payload = (static_cast<std::uint64_t>(high) << 32) | low;
        fields->menu->caption = runtime::TextView(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(payload)));
        break;
    }
    case kMenuChecked: set(kMenuItemChecked, low != 0); break;
    case kMenuDisabled: set(kMenuItemDisabled, low != 0); break;
    case kMenuVisible: set(kMenuItemHidden, low == 0); break;
    default: return;
    }
    ReplaceFields(target, *fields);
}

const runtime::PropertyRecord* PropertyOf(const runtime::DataTypeRecord* type, std::int32_t index)
{
    if (!type || index < 0 || index >= type->propertyCount || !type->properties)
        return nullptr;
    return &type->properties[index];
}

std::uint64_t ReadOwn(ui::WindowObject* object, const runtime::DataTypeRecord* type, std::int32_t index,
                      std::int32_t subIndex)
{
    const runtime::PropertyRecord* property = PropertyOf(type, index);
    auto read = OperationsOf(type).readProperty;
    if (!property || !read)
        return 0;
    UnitPropertyValue value;
    if (!read(object, index - kCommonPropertyCount, &value))
        return 0;
    return ToApplication(property->kind, subIndex, value);
}

// Returns true when the unit asked to be re-created.
bool WriteOwn(ui::WindowObject* object, const runtime::DataTypeRecord* type, std::int32_t index,
              std::int32_t subIndex, std::uint32_t low, std::uint32_t high)
{
    const runtime::PropertyRecord* property = PropertyOf(type, index);
    UnitType operations = OperationsOf(type);
    if (!property || !operations.writeProperty)
        return false;
    UnitPropertyValue current;
    if (ValueFormOfKind(property->kind) == ValueForm::Font && operations.readProperty)
        operations.readProperty(object, index - kCommonPropertyCount, &current);
    UnitPropertyValue value = FromApplication(property->kind, subIndex, low, high, current);
    return operations.writeProperty(object, index - kCommonPropertyCount, &value) == 1;
}

}  // namespace

std::uint64_t ReadUnitProperty(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex)
{
    return ui::RunOnWindowThread([&]() -> std::uint64_t {
        Target target = Find(formId, unitId);
        if (UnitTypeOf(target.record.data) == runtime::kMenuItemType)
            return ReadMenuItem(target, index);
        if (index >= 0 && index < kCommonPropertyCount)
            return ReadCommon(target, index);
        if (!target.object)
            Report(runtime::texts::kReadPropertyFormNotLoaded, formId, unitId);
        return ReadOwn(target.object, TypeOfRecord(target.record.data), index, subIndex);
    });
}

void WriteUnitProperty(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                       std::uint32_t low, std::uint32_t high)
{
    ui::RunOnWindowThread([&] {
        Target target = Find(formId, unitId);
        if (UnitTypeOf(target.record.data) == runtime::kMenuItemType)
            return WriteMenuItem(target, index, low, high);
        if (index >= 0 && index < kCommonPropertyCount)
            return WriteCommon(target, index, low, high);
        if (!target.object)
            Report(runtime::texts::kWritePropertyFormNotLoaded, formId, unitId);
        if (WriteOwn(target.object, TypeOfRecord(target.record.data), index, subIndex, low, high))
            RecreateUnit(*target.form, target.index);
    });
}

std::uint64_t ReadObjectProperty(std::uint32_t tag, void* object, std::int32_t index, std::int32_t subIndex)
{
    return ui::RunOnWindowThread([&]() -> std::uint64_t {
        if (!object || index < kCommonPropertyCount)
            return 0;
        return ReadOwn(static_cast<ui::WindowObject*>(object), FindDataType(tag), index, subIndex);
    });
}

void WriteObjectProperty(std::uint32_t tag, void* object, std::int32_t index, std::int32_t subIndex,
                         std::uint32_t low, std::uint32_t high)
{
    ui::RunOnWindowThread([&] {
        if (object && index >= kCommonPropertyCount)
            WriteOwn(static_cast<ui::WindowObject*>(object), FindDataType(tag), index, subIndex, low, high);
    });
}

}  // namespace vellumry::forms
