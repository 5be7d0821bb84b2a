#include "forms/engine/UnitEnumeration.h"

#include <climits>
#include <map>
#include <string_view>
#include <vector>

#include "forms/description/SupportLibraries.h"
#include "forms/engine/FormEngine.h"
#include "platform/base/Guarded.h"
#include "platform/ui/WindowThreadCalls.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"
#include "runtime/commands/ValueConversion.h"

namespace vellumry::forms {
namespace {

struct ListEntry {
    runtime::DataTypeTag type;
    FormId formId;
    UnitId unitId;
};

using runtime::commands::Arguments;

struct UnitLists {
    std::int32_t next = 0;
    std::map<std::int32_t, std::vector<ListEntry>> lists;
};

// The process-wide table of unit lists.
base::Guarded<UnitLists> g_lists;

// Calls `use` with the entries of a registered list, under the table's lock;
// an unregistered handle calls nothing.
template <typename Use>
void WithList(std::int32_t handle, Use use)
{
    auto lists = g_lists.Lock();
    auto it = lists->lists.find(handle);
    if (it != lists->lists.end())
        use(it->second);
}

bool NameMatches(std::string_view name, std::string_view filter)
{
    if (filter.empty())
        return true;
    if (filter.front() == '@')
        return name == filter.substr(1);
    return name.substr(0, filter.size()) == filter;
}

bool IsDescendant(HWND window, HWND ancestor)
{
    for (HWND parent = GetParent(window); parent; parent = GetParent(parent))
        if (parent == ancestor)
            return true;
    return false;
}

std::vector<ListEntry> CollectUnits(FormId formId, std::string_view nameFilter, std::string_view typeName,
                                    std::int32_t lowest, std::int32_t highest)
{
    std::vector<ListEntry> entries;
    LoadedForm* form = FindLoadedForm(formId);
    ui::WindowObject* windowUnit = form && form->working ? UnitObject(*form, 0) : nullptr;
    if (!windowUnit || !IsWindow(windowUnit->Handle()))
        return entries;
    HWND formWindow = windowUnit->Handle();
    const UnitTable& units = *form->working;
    for (std::int32_t i = 1; i < units.Count(); ++i) {
        auto record = units.UnitData(i);
        ui::WindowObject* unit = UnitObject(*form, i);
        if (!record || !unit || !IsWindow(unit->Handle()) || !IsDescendant(unit->Handle(), formWindow))
            continue;
        auto type = UnitTypeOf(record->data);
        if (!type)
            continue;
        const runtime::DataTypeRecord* typeRecord = FindDataType(*type);
        if (!NameMatches(UnitName(record->data).value_or(""), nameFilter))
            continue;
        if (!typeName.empty() && (!typeRecord || runtime::TextView(typeRecord->displayName) != typeName))
            continue;
        // The tag text read as ToInteger reads a text.
        std::int32_t number = runtime::commands::IntegerFromText(UnitTag(record->data).value_or(""));
        if (number < lowest || number > highest)
            continue;
        entries.push_back({*type, formId, record->unitId});
    }
    return entries;
}

}  // namespace

void EnumerateUnits(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments)
{
    *result = runtime::TypedValue::OfInt(0);
    Arguments args(count, arguments);
    if (args.Count() < 1)
        return;
    FormId formId = args.At(0).low;
    std::string_view nameFilter = args.Text(1);
    std::string_view typeName = args.Text(2);
    std::int32_t lowest = args.Integer(3, INT32_MIN);
    std::int32_t highest = args.Integer(4, INT32_MAX);
    std::vector<ListEntry> entries = ui::RunOnWindowThread(
        [&] { return CollectUnits(formId, nameFilter, typeName, lowest, highest); });
    if (entries.empty())
        return;
    auto lists = g_lists.Lock();
    // Handles count up from 1 and start again after the largest.
    lists->next = lists->next == INT32_MAX ? 1 : lists->next + 1;
    std::int32_t handle = lists->next;
    lists->lists[handle] = std::move(entries);
    *result = runtime::TypedValue::OfInt(handle);
}

void UnitListCount(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments)
{
    *result = runtime::TypedValue::OfInt(0);
    if (count >= 1)
        WithList(arguments[0].Int(), [&](const std::vector<ListEntry>& entries) {
            *result = runtime::TypedValue::OfInt(static_cast<std::int32_t>(entries.size()));
        });
}

void UnitListItem(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments)
{
    *result = runtime::TypedValue::OfUnit(runtime::kWindowType, 0, 0);
    if (count < 2)
        return;
    std::int32_t index = arguments[1].Int();
    WithList(arguments[0].Int(), [&](const std::vector<ListEntry>& entries) {
        if (index < 0 || index >= static_cast<std::int32_t>(entries.size()))
            return;
        const ListEntry& entry = entries[static_cast<std::size_t>(index)];
        *result = runtime::TypedValue::OfUnit(entry.type, entry.formId, entry.unitId);
    });
}

void UnitListRelease(runtime::TypedValue*, std::int32_t count, const runtime::TypedValue* arguments)
{
    if (count < 1)
        return;
    g_lists.Lock()->lists.erase(arguments[0].Int());
}

void UnitNameOf(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments)
{
    *result = runtime::TypedValue::OfPointer(runtime::kTextType, nullptr);
    if (count < 1)
        return;
    const runtime::TypedValue& unit = arguments[0];
    const runtime::DataTypeRecord* type = FindDataType(unit.tag);
    if (!type || !(type->stateFlags & runtime::kTypeHasWindow))
        return;
    std::string name = ui::RunOnWindowThread([&]() -> std::string {
        LoadedForm* form = FindLoadedForm(unit.low);
        if (!form)
            return {};
        const UnitTable& units = CurrentUnits(*form);
        std::int32_t index = UnitIndex(units, unit.high);
        auto record = index >= 0 ? units.UnitData(index) : std::nullopt;
        return record ? std::string(UnitName(record->data).value_or("")) : std::string();
    });
    *result = runtime::TypedValue::OfPointer(runtime::kTextType, runtime::MakeTextOrNull(name));
}

void InstallUnitEnumerationCommands()
{
    using runtime::CoreCommand;
    runtime::CoreCommandSlot(CoreCommand::EnumerateUnits) = EnumerateUnits;
    runtime::CoreCommandSlot(CoreCommand::UnitListCount) = UnitListCount;
    runtime::CoreCommandSlot(CoreCommand::UnitListItem) = UnitListItem;
    runtime::CoreCommandSlot(CoreCommand::UnitListRelease) = UnitListRelease;
    runtime::CoreCommandSlot(CoreCommand::UnitNameOf) = UnitNameOf;
}

}  // namespace vellumry::forms
