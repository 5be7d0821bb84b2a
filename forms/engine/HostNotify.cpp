#include "forms/engine/HostNotify.h"

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "forms/description/SupportLibraries.h"
#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngine.h"
#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/ScopedIcon.h"
#include "platform/ui/WindowThreadCalls.h"
#include "runtime/ErrorReporter.h"
#include "runtime/EventSuppression.h"
#include "runtime/HiddenOwner.h"
#include "runtime/HostLayers.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeState.h"
#include "runtime/RuntimeTexts.h"
#include "runtime/Shutdown.h"

namespace vellumry::forms {
namespace {

constexpr std::intptr_t kHostVersion = 0x70005;
constexpr std::intptr_t kSelectProgramFolder = 1;
constexpr std::intptr_t kSelectProgramFolderToo = 2001;
constexpr std::intptr_t kSelectProgramFileName = 2002;
constexpr int kBigIconSize = 32;
constexpr int kSmallIconSize = 16;

struct IconState {
    std::span<const std::uint8_t> data;
    ui::ScopedIcon big;
    ui::ScopedIcon small;
    ProgramIcons icons;  // the record handed out, borrowing the two above
    bool loaded = false;
};

IconState& Icons()
{
    static IconState state;
    return state;
}

template <typename Record>
Record* RecordOf(std::intptr_t value)
{
    return FromNotifyValue<Record*>(value);
}

HWND WindowOf(std::intptr_t value)
{
    return FromNotifyValue<HWND>(value);
}

// Wrappers made by code 1007 own themselves until code 1008.
class WrappedWindow : public ui::WindowObject {};

std::intptr_t CopyProgramPath(std::intptr_t selector, char* buffer)
{
    if (!buffer)
        return 0;
    const runtime::RuntimeState& state = runtime::Runtime();
    std::string text;
    if (selector == kSelectProgramFolder || selector == kSelectProgramFolderToo)
        text = state.programFolder + "\\";
    else if (selector == kSelectProgramFileName)
        text = state.programFileName;
    size_t length = std::min<size_t>(text.size(), MAX_PATH - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<std::intptr_t>(length);
}

UnitWindowInfo InfoOf(LoadedForm& form, std::int32_t index)
{
    UnitWindowInfo info;
    info.formId = form.form->formId;
    info.index = index;
    if (auto record = form.working ? form.working->UnitData(index) : std::nullopt) {
        info.unitId = record->unitId;
        info.type = TypeOfRecord(record->data);
    }
    info.object = UnitObject(form, index);
    return info;
}

// The live unit windows of a form, in stored order.
std::vector<UnitWindowInfo> UnitWindowsOfForm(FormId formId)
{
    std::vector<UnitWindowInfo> units;
    LoadedForm* form = FindLoadedForm(formId);
    if (!form || !form->working)
        return units;
    for (std::int32_t i = 0; i < form->working->Count(); ++i) {
        UnitWindowInfo info = InfoOf(*form, i);
        if (info.object && IsWindow(info.object->Handle()))
            units.push_back(info);
    }
    return units;
}

std::optional<UnitWindowInfo> FindUnitOfWindow(HWND window)
{
    ui::WindowObject* object = ui::WindowObject::FromHandle(window);
    if (!object)
        return std::nullopt;
    for (std::size_t f = 0; f < FormCount(); ++f) {
        LoadedForm* form = FindLoadedForm(Forms().Forms()[f].formId);
        if (!form || !form->working)
            continue;
        for (std::int32_t i = 0; i < form->working->Count(); ++i)
            if (UnitObject(*form, i) == object)
                return InfoOf(*form, i);
    }
    return std::nullopt;
}

std::intptr_t ClassifyType(runtime::DataTypeTag tag)
{
    const runtime::DataTypeRecord* type = FindDataType(tag);
    if (!type)
        return 0;
    if (type->stateFlags & runtime::kTypeCanRaiseEvents)
        return 2;
    return (type->stateFlags & runtime::kTypeHasWindow) ? 1 : 0;
}

// The codes that touch windows or the form table run on the window thread.
std::intptr_t AnswerOnWindowThread(std::int32_t code, std::intptr_t value1, std::intptr_t value2)
{
    switch (code) {
    case kNotifyProgramIcons: {
        IconState& state = Icons();
        if (!state.loaded) {
            state.loaded = true;
            state.big.reset(ui::CreateIconFromFileData(state.data, kBigIconSize));
            state.small.reset(ui::CreateIconFromFileData(state.data, kSmallIconSize));
            state.icons = {state.big.get(), state.small.get()};
        }
        return ToNotifyValue(&state.icons);
    }
    case kNotifyFormTable:
        return ToNotifyValue(&Forms());
    case kNotifyWrapWindow: {
        auto wrapper = std::make_unique<WrappedWindow>();
        if (!wrapper->Attach(WindowOf(value1)))
            return 0;
        return ToNotifyValue(wrapper.release());
    }
    case kNotifyDestroyWrapper:
        std::unique_ptr<ui::WindowObject>(RecordOf<ui::WindowObject>(value1)).reset();
        return 0;
    case kNotifyDetachWindow:
        if (auto* object = RecordOf<ui::WindowObject>(value1))
            return ToNotifyValue(object->Detach());
        return 0;
    case kNotifyWindowHandle:
        if (auto* object = RecordOf<ui::WindowObject>(value1))
            return ToNotifyValue(object->Handle());
        return 0;
    case kNotifyAttachWindow: {
        auto* object = RecordOf<ui::WindowObject>(value1);
        HWND window = WindowOf(value2);
        if (!object || ui::WindowObject::FromHandle(window))
            return 0;
        return object->Attach(window) ? 1 : 0;
    }
    case kNotifyAddIdleCallback:
        if (auto* record = RecordOf<IdleCallbackRecord>(value2))
            runtime::AddIdleCallback(WindowOf(value1), record->routine, record->argument);
        return 0;
    case kNotifyRemoveIdleCallback:
        runtime::RemoveIdleCallback(WindowOf(value1));
        return 0;
    case kNotifyHiddenOwner:
        return ToNotifyValue(runtime::HiddenOwner());
    case kNotifyUnitOfWindow: {
        auto* info = RecordOf<UnitWindowInfo>(value2);
        auto found = FindUnitOfWindow(WindowOf(value1));
        if (info && found)
            *info = *found;
        return found ? 1 : 0;
    }
    case kNotifyUnitsOfForm:
        if (auto* list = RecordOf<std::vector<UnitWindowInfo>>(value2))
            *list = UnitWindowsOfForm(static_cast<FormId>(value1));
        return 0;
    case kNotifyUnitDestroyed:
        UnitWindowDestroyed(static_cast<FormId>(value1), static_cast<UnitId>(value2));
        return 0;
    case kNotifyLoadForm: {
        auto* request = RecordOf<FormLoadRequest>(value1);
        if (!request)
            return -1;
        return LoadForm(request->formId, request->modal != 0, request->owner) ? 0 : -1;
    }
    case kNotifyResolveUnit:
        return ToNotifyValue(ResolveUnit(static_cast<FormId>(value1), static_cast<UnitId>(value2)));
    case kNotifyResolveUnitOrReport: {
        ui::WindowObject* unit = ResolveUnit(static_cast<FormId>(value1), static_cast<UnitId>(value2));
        if (!unit)
            runtime::ReportError(runtime::texts::kUnitNotLoaded, 0, static_cast<std::int32_t>(value1),
                                 static_cast<std::int32_t>(value2));
        return ToNotifyValue(unit);
    }
    case kNotifyDispatchEvent:
        if (auto* event = RecordOf<UnitEvent>(value1))
            return DispatchEvent(*event) ? 1 : 0;
        return 0;
    case kNotifyDispatchTypedEvent:
        if (auto* event = RecordOf<TypedUnitEvent>(value1))
            return DispatchEvent(*event) ? 1 : 0;
        return 0;
    case kNotifyCurrentEventSource: {
        EventSource source = CurrentEventSource();
        if (auto* record = RecordOf<EventSource>(value1))
            *record = source;
        return source.formId != 0 ? 1 : 0;
    }
    case kNotifyFormCount:
        return static_cast<std::intptr_t>(FormCount());
    default:
        return 0;
    }
}

}  // namespace

void SetProgramIconData(std::span<const std::uint8_t> icoFile)
{
    ReleaseProgramIcons();  // icons made from earlier data, if any
    Icons().data = icoFile;
}

void ReleaseProgramIcons()
{
    IconState& state = Icons();
    state.icons = {};
    state.big.reset();
    state.small.reset();
    state.loaded = false;
}

std::intptr_t HostNotify(std::int32_t code, std::intptr_t value1, std::intptr_t value2)
{
    switch (code) {
    case kNotifyDataType:
        return ToNotifyValue(FindDataType(static_cast<runtime::DataTypeTag>(value1)));
    case kNotifyOne:
        return 1;
    case kNotifyVersion:
        return kHostVersion;
    case kNotifyCopyProgramPath:
        return CopyProgramPath(value1, RecordOf<char>(value2));
    case kNotifyZero:
        return 0;
    case kNotifyProgramFolder:
        return ToNotifyValue(runtime::Runtime().programFolder.c_str());
    case kNotifyProgramFileName:
        return ToNotifyValue(runtime::Runtime().programFileName.c_str());
    case kNotifyRaiseSuppression:
        runtime::RaiseEventSuppression();
        return 0;
    case kNotifyLowerSuppression:
        runtime::LowerEventSuppression();
        return 0;
    case kNotifyPlayMusic: {
        auto* request = RecordOf<MusicRequest>(value1);
        auto play = runtime::Sound().playMusic;
        return request && play && play(request->data, request->length, request->loop != 0) ? 1 : 0;
    }
    case kNotifyStopMusic:
        if (auto stop = runtime::Sound().stopAllMusic)
            stop(false);
        return 0;
    case kNotifyAllocate: {
        auto size = static_cast<std::int32_t>(value1);
        return ToNotifyValue(value2 != 0 ? runtime::RawAlloc(size) : runtime::RuntimeAlloc(size));
    }
    case kNotifyFree:
        runtime::RuntimeFree(RecordOf<void>(value1));
        return 0;
    case kNotifyReallocate:
        return ToNotifyValue(runtime::RuntimeRealloc(RecordOf<void>(value1), static_cast<std::int32_t>(value2)));
    case kNotifyReportError:
        runtime::ReportError(RecordOf<const char>(value1), 0, 0, 0);
    case kNotifyEndProgram:
        runtime::EndProgram(static_cast<std::int32_t>(value1));
    case kNotifyClassifyType:
        return ClassifyType(static_cast<runtime::DataTypeTag>(value1));
    case kNotifyRunMode:
        return runtime::Runtime().runMode;
    default:
        return ui::RunOnWindowThread([&] { return AnswerOnWindowThread(code, value1, value2); });
    }
}

}  // namespace vellumry::forms
