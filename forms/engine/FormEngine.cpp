#include "forms/engine/FormEngine.h"

#include <algorithm>
#include <set>

#include "forms/description/SupportLibraries.h"
#include "forms/engine/EventDispatch.h"
#include "forms/engine/ObjectHandles.h"
#include "forms/engine/UnitCursors.h"
#include "forms/engine/UnitType.h"
#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/UiApplication.h"
#include "platform/ui/WinUser.h"
#include "runtime/EventSuppression.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/RuntimeState.h"

namespace vellumry::forms {
namespace {

constexpr std::int32_t kFirstControlId = 100;
constexpr std::int32_t kControlIdStep = 10;
constexpr DWORD kUnitDisabledStyle = 0x08000000;
constexpr DWORD kUnitTabStopStyle = 0x00010000;
constexpr std::int32_t kWindowEventLoaded = 0;
constexpr std::int32_t kWindowEventMoved = 3;
constexpr std::int32_t kWindowEventSized = 4;

struct EngineState {
    FormTable table;
    std::vector<LoadedForm> forms;  // parallel to table.Forms()
    FormId modalForm = 0;
    int recreating = 0;
};

EngineState& State()
{
    static EngineState state;
    return state;
}

// Keeps the suppression counter raised for a scope.
class SuppressedEvents {
public:
    SuppressedEvents() { runtime::RaiseEventSuppression(); }
    ~SuppressedEvents() { runtime::LowerEventSuppression(); }
    SuppressedEvents(const SuppressedEvents&) = delete;
    SuppressedEvents& operator=(const SuppressedEvents&) = delete;
};

// Marks a unit's re-creation for a scope: meanwhile the destruction of its
// old window must not release the unit.
class Recreation {
public:
    explicit Recreation(int& count) : m_count(count) { ++m_count; }
    ~Recreation() { --m_count; }
    Recreation(const Recreation&) = delete;
    Recreation& operator=(const Recreation&) = delete;

private:
    int& m_count;
};

DWORD StyleFromFlags(std::uint32_t flags)
{
    return ((flags & kUnitDisabled) ? kUnitDisabledStyle : 0) | ((flags & kUnitTabStop) ? kUnitTabStopStyle : 0);
}

HWND WindowAt(LoadedForm& form, std::int32_t index)
{
    ui::WindowObject* object = UnitObject(form, index);
    return object && IsWindow(object->Handle()) ? object->Handle() : nullptr;
}

// Creates a unit from its record: the unit-specific data is handed over in
// place, never copied (the window's record carries the whole background music).
ui::WindowObject* CreateFromRecord(const UnitRecord& record, HWND parent, std::int32_t controlId, FormId formId)
{
    auto create = OperationsOf(TypeOfRecord(record.data)).create;
    auto data = UnitSpecificData(record.data);
    auto position = UnitPosition(record.data);
    auto flags = UnitFlags(record.data);
    if (!create || !data || !position || !flags)
        return nullptr;
    return create(data->data(), static_cast<std::int32_t>(data->size()), StyleFromFlags(*flags), parent, controlId,
                  nullptr, position->left, position->top, position->width, position->height, formId, record.unitId,
                  0, 0);
}

void StoreObject(UnitTable& units, std::int32_t index, ui::WindowObject* object)
{
    units.SetObjectSlot(index, RegisterObject(object));
}

void ReleaseSlots(UnitTable& units, std::int32_t index)
{
    auto record = units.UnitData(index);
    if (!record)
        return;
    if (auto cursor = UnitCursorSlot(record->data); cursor && *cursor) {
        DestroyCursor(static_cast<HCURSOR>(LookupObject(*cursor)));
        ReleaseObject(*cursor);
    }
    if (auto object = UnitObjectSlot(record->data); object && *object)
        ReleaseObject(*object);
    units.SetObjectSlot(index, 0);
    units.SetCursorSlot(index, 0);
}

bool IsUnitType(const UnitRecord& record, std::uint32_t flag)
{
    const runtime::DataTypeRecord* type = TypeOfRecord(record.data);
    return type && (type->stateFlags & flag) != 0;
}

// The children listed after the first 0 separator of page containers: they
// start hidden, because only the first page is current.
std::set<UnitId> UnitsOnHiddenPages(const UnitTable& units)
{
    std::set<UnitId> hidden;
    for (std::int32_t i = 1; i < units.Count(); ++i) {
        auto record = units.UnitData(i);
        if (!record || !IsUnitType(*record, runtime::kTypePageContainer))
            continue;
        auto children = UnitChildren(record->data);
        if (!children)
            continue;
        auto separator = std::find(children->begin(), children->end(), 0u);
        for (auto it = separator == children->end() ? separator : separator + 1; it != children->end(); ++it)
            if (*it != 0)
                hidden.insert(*it);
    }
    return hidden;
}

void ApplyCursor(UnitTable& units, std::int32_t index, HWND window)
{
    auto record = units.UnitData(index);
    auto pointer = record ? UnitMousePointer(record->data) : std::nullopt;
    if (!pointer || pointer->empty())
        return;
    HCURSOR cursor = CursorFromPointerData(*pointer);
    if (!cursor)
        return;
    units.SetCursorSlot(index, RegisterObject(cursor));
    ui::SetWindowCursor(window, cursor);
}

// Step 7 of loading: parents, page visibility, z-order and cursors.
void ArrangeUnits(LoadedForm& form, HWND formWindow)
{
    UnitTable& units = *form.working;
    std::vector<std::pair<HWND, HWND>> lastChildOf;  // parent window -> last placed unit
    for (std::int32_t i = 0; i < units.Count(); ++i) {
        HWND window = WindowAt(form, i);
        if (!window)
            continue;
        if (i > 0) {
            auto record = units.UnitData(i);
            UnitId parentId = record ? UnitParent(record->data).value_or(0) : 0;
            HWND parent = formWindow;
            if (parentId != 0) {
                std::int32_t parentIndex = units.IndexOf(parentId);
                if (HWND parentWindow = parentIndex > 0 ? WindowAt(form, parentIndex) : nullptr)
                    parent = parentWindow;
            }
            if (GetParent(window) != parent)
                SetParent(window, parent);
            auto last = std::find_if(lastChildOf.begin(), lastChildOf.end(),
                                     [&](const auto& entry) { return entry.first == parent; });
            constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
            if (last == lastChildOf.end()) {
                SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, kKeep);
                lastChildOf.emplace_back(parent, window);
            } else {
                SetWindowPos(window, last->second, 0, 0, 0, 0, kKeep);
                last->second = window;
            }
        }
        ApplyCursor(units, i, window);
    }
}

void ShowUnits(LoadedForm& form)
{
    UnitTable& units = *form.working;
    std::set<UnitId> hiddenPages = UnitsOnHiddenPages(units);
    for (std::int32_t i = units.Count() - 1; i >= 1; --i)
        if (HWND window = WindowAt(form, i))
            SendMessageA(window, kMessageUnitsCreated, 0, 0);
    if (HWND formWindow = WindowAt(form, 0))
        SendMessageA(formWindow, kMessageFormCreated, 0, 0);
    for (std::int32_t i = 1; i < units.Count(); ++i) {
        HWND window = WindowAt(form, i);
        auto record = units.UnitData(i);
        if (!window || !record || IsUnitType(*record, runtime::kTypeVisibilitySelfManaged))
            continue;
        bool visible = (UnitFlags(record->data).value_or(0) & kUnitVisible) && !hiddenPages.count(record->unitId);
        ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void RaiseWindowEvent(FormId formId, UnitId windowUnit, std::int32_t number)
{
    UnitEvent event;
    event.formId = formId;
    event.unitId = windowUnit;
    event.event = number;
    DispatchEvent(event);
}

void ReenableAfterModal(LoadedForm& form)
{
    for (HWND window : form.disabledWhileModal)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    form.disabledWhileModal.clear();
}

// Runs the form modally: the other forms disabled, the units told, then a
// loop of its own until the form is gone. `focusBefore` is the window that
// had the focus before the form was shown; it gets it back afterwards.
void ShowModally(LoadedForm& form, FormId formId, HWND formWindow, HWND focusBefore)
{
    EngineState& state = State();
    for (LoadedForm& other : state.forms) {
        if (&other == &form || !other.working)
            continue;
        HWND window = WindowAt(other, 0);
        if (window && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            form.disabledWhileModal.push_back(window);
        }
    }
    state.modalForm = formId;
    HWND focusInForm = GetFocus();
    UnitTable& units = *form.working;
    for (std::int32_t i = units.Count() - 1; i >= 1; --i)
        if (HWND window = WindowAt(form, i))
            SendMessageA(window, kMessageShownModally, 0, 0);
    if (focusInForm && IsWindow(focusInForm))
        SetFocus(focusInForm);
    if (ui::UiApplication* app = ui::UiApplication::Instance()) {
        app->RunLoop([app](long count) { return runtime::IdleStep(*app, count); },
                     [formWindow] { return !IsWindow(formWindow); });
    }
    // The form is gone (or the quit message came): the windows it disabled
    // are enabled again before the focus goes back to where it was.
    if (!IsWindow(formWindow) && focusBefore && IsWindow(focusBefore) && IsWindowEnabled(focusBefore))
        SetFocus(focusBefore);
}

}  // namespace

void InstallFormTable(FormTable table)
{
    EngineState& state = State();
    state.table = std::move(table);
    state.forms.clear();
    for (TemplateForm& form : state.table.Forms())
        state.forms.push_back(LoadedForm{&form, std::nullopt, {}, true});
    state.modalForm = 0;
}

FormTable& Forms()
{
    return State().table;
}

std::size_t FormCount()
{
    return State().forms.size();
}

LoadedForm* FindLoadedForm(FormId formId)
{
    for (LoadedForm& form : State().forms)
        if (form.form->formId == formId)
            return &form;
    return nullptr;
}

UnitTable& CurrentUnits(LoadedForm& form)
{
    return form.working ? *form.working : form.form->units;
}

const runtime::DataTypeRecord* TypeOfRecord(std::span<const std::uint8_t> record)
{
    auto tag = UnitTypeOf(record);
    return tag ? FindDataType(*tag) : nullptr;
}

std::int32_t UnitIndex(const UnitTable& units, UnitId unitId)
{
    if (unitId == 0)
        return units.Count() > 0 ? 0 : -1;
    return units.IndexOf(unitId);
}

ui::WindowObject* UnitObject(LoadedForm& form, std::int32_t index)
{
    if (!form.working)
        return nullptr;
    auto record = form.working->UnitData(index);
    if (!record)
        return nullptr;
    auto slot = UnitObjectSlot(record->data);
    return slot && *slot ? static_cast<ui::WindowObject*>(LookupObject(*slot)) : nullptr;
}

ui::WindowObject* ResolveUnit(FormId formId, UnitId unitId)
{
    LoadedForm* form = FindLoadedForm(formId);
    if (!form || !form->working)
        return nullptr;
    std::int32_t index = UnitIndex(*form->working, unitId);
    if (index < 0)
        return nullptr;
    ui::WindowObject* object = UnitObject(*form, index);
    return object && IsWindow(object->Handle()) ? object : nullptr;
}

bool LoadForm(FormId formId, bool modal, ui::WindowObject* owner)
{
    LoadedForm* form = FindLoadedForm(formId);
    if (!form)
        return false;
    if (HWND existing = form->working ? WindowAt(*form, 0) : nullptr) {
        if (IsIconic(existing))
            ShowWindow(existing, SW_RESTORE);
        else
            SetForegroundWindow(existing);
        return true;
    }
    // A modal form hands the focus back, when it closes, to the window that
    // had it before the form existed.
    HWND focusBefore = modal ? GetFocus() : nullptr;
    HWND ownerWindow = nullptr;
    if (!modal && owner) {
        ownerWindow = owner->Handle();
        if (!IsWindow(ownerWindow))
            return false;
    }

    HWND formWindow = nullptr;
    UnitId windowUnit = 0;
    {
        SuppressedEvents suppressed;
        auto copy = form->form->units.Copy();
        if (!copy)
            return false;
        form->working = std::move(*copy);
        UnitTable& units = *form->working;
        // This engine builds no menu bar: the templates it loads hold no menu items.

        auto windowRecord = units.UnitData(0);
        ui::WindowObject* window = windowRecord ? CreateFromRecord(*windowRecord, ownerWindow, 0, formId) : nullptr;
        if (!window || !IsWindow(window->Handle())) {
            form->working.reset();
            return false;
        }
        formWindow = window->Handle();
        windowUnit = windowRecord->unitId;
        StoreObject(units, 0, window);

        std::int32_t created = 0;
        for (std::int32_t i = units.Count() - 1; i >= 1; --i) {
            auto record = units.UnitData(i);
            // Menu items are no units: they have no window and no create
            // routine, and they stop nothing.
            if (!record || UnitTypeOf(record->data) == runtime::kMenuItemType)
                continue;
            if (!OperationsOf(TypeOfRecord(record->data)).create)
                break;  // a unit type without a create routine stops the creation
            std::int32_t controlId = kFirstControlId + kControlIdStep * created++;
            if (ui::WindowObject* unit = CreateFromRecord(*record, formWindow, controlId, formId))
                StoreObject(units, i, unit);
        }
        ArrangeUnits(*form, formWindow);
        ShowUnits(*form);
    }

    for (std::int32_t number : {kWindowEventLoaded, kWindowEventMoved, kWindowEventSized})
        if (IsWindow(formWindow))
            RaiseWindowEvent(formId, windowUnit, number);

    if (!IsWindow(formWindow))
        return true;
    auto windowRecord = form->working ? form->working->UnitData(0) : std::nullopt;
    if (windowRecord && (UnitFlags(windowRecord->data).value_or(0) & kUnitVisible))
        ShowWindow(formWindow, SW_SHOW);
    if (modal)
        ShowModally(*form, formId, formWindow, focusBefore);
    return true;
}

void UnitWindowDestroyed(FormId formId, UnitId unitId)
{
    EngineState& state = State();
    if (state.recreating > 0)
        return;
    LoadedForm* form = FindLoadedForm(formId);
    if (!form || !form->working)
        return;
    UnitTable& units = *form->working;
    std::int32_t index = UnitIndex(units, unitId);
    if (index < 0)
        return;
    if (index > 0) {
        ReleaseSlots(units, index);
        return;
    }
    for (std::int32_t i = 0; i < units.Count(); ++i)
        ReleaseSlots(units, i);
    form->working.reset();
    if (state.modalForm == formId) {
        state.modalForm = 0;
        ReenableAfterModal(*form);
    }
    if (!AnyLiveForm() && runtime::Runtime().messageLoopEntered.load())
        PostQuitMessage(0);
}

bool AnyLiveForm()
{
    for (LoadedForm& form : State().forms)
        if (form.working && WindowAt(form, 0))
            return true;
    return false;
}

bool IdleForms(long idleCount, std::uint32_t elapsedMilliseconds)
{
    bool more = false;
    for (LoadedForm& form : State().forms) {
        HWND window = form.working ? WindowAt(form, 0) : nullptr;
        if (!window)
            continue;
        if (idleCount == 0)
            form.wantsIdle = true;
        if (form.wantsIdle)
            form.wantsIdle = SendMessageA(window, kMessageFormIdle, elapsedMilliseconds, 0) != 0;
        more = more || form.wantsIdle;
    }
    return more;
}

void ReleaseForms()
{
    EngineState& state = State();
    for (LoadedForm& form : state.forms)
        if (HWND window = form.working ? WindowAt(form, 0) : nullptr)
            DestroyWindow(window);
    state.forms.clear();
    state.table = FormTable();
    state.modalForm = 0;
}

bool RecreatingUnit()
{
    return State().recreating > 0;
}

void RecreateUnit(LoadedForm& form, std::int32_t index)
{
    if (!form.working || index <= 0)
        return;
    UnitTable& units = *form.working;
    ui::WindowObject* old = UnitObject(form, index);
    auto record = units.UnitData(index);
    if (!old || !record || !IsWindow(old->Handle()))
        return;
    UnitType operations = OperationsOf(TypeOfRecord(record->data));
    std::vector<std::uint8_t> data;
    if (!operations.saveProperties || !operations.create || !operations.saveProperties(old, &data))
        return;

    Recreation recreation(State().recreating);
    SuppressedEvents suppressed;
    HWND oldWindow = old->Handle();
    HWND parent = GetParent(oldWindow);
    RECT rect;
    GetWindowRect(oldWindow, &rect);
    POINT corner{rect.left, rect.top};
    MapWindowPoints(nullptr, parent, &corner, 1);
    bool visible = (GetWindowLongA(oldWindow, GWL_STYLE) & WS_VISIBLE) != 0;
    bool enabled = IsWindowEnabled(oldWindow) != FALSE;
    bool focused = GetFocus() == oldWindow;
    HWND above = GetNextWindow(oldWindow, GW_HWNDPREV);
    std::int32_t controlId = GetWindowLongA(oldWindow, GWL_ID);
    std::uint32_t flags = UnitFlags(record->data).value_or(0);
    ui::WindowObject* fresh =
        operations.create(data.data(), static_cast<std::int32_t>(data.size()), StyleFromFlags(flags), parent, controlId,
               nullptr, corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top, form.form->formId,
               record->unitId, 0, 0);
    if (auto slot = UnitObjectSlot(record->data); slot && *slot)
        ReleaseObject(*slot);
    DestroyWindow(oldWindow);
    if (!fresh || !IsWindow(fresh->Handle())) {
        units.SetObjectSlot(index, 0);
        return;
    }
    HWND window = fresh->Handle();
    units.SetObjectSlot(index, RegisterObject(fresh));
    SetWindowPos(window, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnableWindow(window, enabled ? TRUE : FALSE);
    ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    if (auto current = units.UnitData(index)) {
        if (auto cursor = UnitCursorSlot(current->data); cursor && *cursor)
            ui::SetWindowCursor(window, static_cast<HCURSOR>(LookupObject(*cursor)));
    }
    if (focused)
        SetFocus(window);
}

}  // namespace vellumry::forms
