#include "forms/UnitEnumeration.h"

#include <climits>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "forms/FormEngine.h"
#include "forms/SupportLibraries.h"
#include "platform/ui/WindowThread.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::forms {
namespace {

struct ListEntry {
    runtime::DataTypeTag type;
    FormId formId;
    UnitId unitId;
};

struct UnitLists {
    std::mutex lock;
    std::int32_t next = 0;
    std::map<std::int32_t, std::vector<ListEntry>> lists;
};

UnitLists& Lists()
{
    static UnitLists lists;
    return lists;
}

// Calls `use` with the entries of a registered list, under the table's lock;
// an unregistered handle calls nothing.
template <typename Use>
void WithList(std::int32_t handle, Use use)
{
    UnitLists& lists = Lists();
    std::lock_guard guard(lists.lock);
    auto it = lists.lists.find(handle);
    if (it != lists.lists.end())
        use(it->second);
}

bool Given(const runtime::TypedValue* arguments, std::int32_t count, std::int32_t index)
{
    return index < count && arguments[index].tag != runtime::kNoType;
}

std::string_view TextArgument(const runtime::TypedValue* arguments, std::int32_t count, std::int32_t index)
{
    return Given(arguments, count, index) ? runtime::TextView(arguments[index].Pointer<const char>()) : std::string_view();
}

// The tag text read as a decimal number the way ToInteger reads digits:
// leading white space, an optional sign, digits; no digits give 0.
std::int64_t TagNumber(std::string_view tag)
{
    std::size_t i = 0;
    while (i < tag.size() && (tag[i] == ' ' || (tag[i] >= '\t' && tag[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < tag.size() && (tag[i] == '-' || tag[i] == '+'))
        negative = tag[i++] == '-';
    std::int64_t value = 0;
    for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (tag[i] - '0'), INT64_MAX / 20);
    return negative ? -value : value;
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
                                    std::int64_t lowest, std::int64_t highest)
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
        const runtime::DataTypeRecord* typeRecord = type ? FindDataType(*type) : nullptr;
        if (!NameMatches(UnitName(record->data).value_or(""), nameFilter))
            continue;
        if (!typeName.empty() && (!typeRecord || runtime::TextView(typeRecord->displayName) != typeName))
            continue;
        std::int64_t number = TagNumber(UnitTag(record->data).value_or(""));
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
    if (count < 1)
        return;
    FormId formId = arguments[0].low;
    std::string_view nameFilter = TextArgument(arguments, count, 1);
    std::string_view typeName = TextArgument(arguments, count, 2);
    std::int64_t lowest = Given(arguments, count, 3) ? arguments[3].Int() : INT32_MIN;
    std::int64_t highest = Given(arguments, count, 4) ? arguments[4].Int() : INT32_MAX;
    std::vector<ListEntry> entries = ui::RunOnWindowThread(
        [&] { return CollectUnits(formId, nameFilter, typeName, lowest, highest); });
    if (entries.empty())
        return;
    UnitLists& lists = Lists();
    std::lock_guard guard(lists.lock);
    std::int32_t handle = ++lists.next;
    if (handle <= 0)
        handle = lists.next = 1;
    lists.lists[handle] = std::move(entries);
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
    UnitLists& lists = Lists();
    std::lock_guard guard(lists.lock);
    lists.lists.erase(arguments[0].Int());
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
