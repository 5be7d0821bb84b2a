#include "units/common/UnitHost.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace vellumry::units {
namespace {

using HostNotifyEntry = std::intptr_t (*)(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

constexpr std::int32_t kLibraryStarted = 1;
constexpr std::intptr_t kSelectProgramFolder = 1;

std::atomic<HostNotifyEntry> g_host{nullptr};

// Calls the runtime; 0 when no entry has been handed over yet.
std::intptr_t Call(forms::HostNotifyCode code, std::intptr_t value1 = 0, std::intptr_t value2 = 0)
{
    HostNotifyEntry host = g_host.load();
    return host ? host(code, value1, value2) : 0;
}

template <typename Pointer>
std::intptr_t Value(Pointer pointer)
{
    return forms::ToNotifyValue(pointer);
}

template <typename Pointer>
Pointer PointerOf(std::intptr_t value)
{
    return forms::FromNotifyValue<Pointer>(value);
}

[[noreturn]] void NoHost(const char* what)
{
    std::fprintf(stderr, "vellumry: %s without a runtime\n", what);
    std::abort();
}

}  // namespace

std::intptr_t UnitLibraryNotify(std::int32_t code, std::intptr_t value1, std::intptr_t)
{
    if (code == kLibraryStarted)
        g_host.store(PointerOf<HostNotifyEntry>(value1));
    return 0;
}

namespace host {

RaisedEvent RaiseEvent(forms::FormId formId, forms::UnitId unitId, std::int32_t event,
                       std::initializer_list<std::int32_t> arguments)
{
    forms::UnitEvent record;
    record.formId = formId;
    record.unitId = unitId;
    record.event = event;
    for (std::int32_t argument : arguments) {
        if (record.argumentCount == forms::kUnitEventArguments)
            break;
        record.arguments[record.argumentCount++] = argument;
    }
    RaisedEvent raised;
    raised.ran = Call(forms::kNotifyDispatchEvent, Value(&record)) != 0;
    raised.hasResult = record.hasResult != 0;
    raised.result = record.result;
    return raised;
}

std::optional<forms::EventSource> CurrentEventSource()
{
    forms::EventSource source;
    if (!Call(forms::kNotifyCurrentEventSource, Value(&source)))
        return std::nullopt;
    return source;
}

void SuppressEvents()
{
    Call(forms::kNotifyRaiseSuppression);
}

void AllowEvents()
{
    Call(forms::kNotifyLowerSuppression);
}

std::vector<forms::UnitWindowInfo> UnitsOfForm(forms::FormId formId)
{
    std::vector<forms::UnitWindowInfo> units;
    Call(forms::kNotifyUnitsOfForm, static_cast<std::intptr_t>(formId), Value(&units));
    return units;
}

std::optional<forms::UnitWindowInfo> UnitOfWindow(HWND window)
{
    forms::UnitWindowInfo unit;
    if (!window || !Call(forms::kNotifyUnitOfWindow, Value(window), Value(&unit)))
        return std::nullopt;
    return unit;
}

ui::WindowObject* ResolveUnit(forms::FormId formId, forms::UnitId unitId)
{
    return PointerOf<ui::WindowObject*>(
        Call(forms::kNotifyResolveUnit, static_cast<std::intptr_t>(formId), static_cast<std::intptr_t>(unitId)));
}

ui::WindowObject* ResolveUnitOrReport(forms::FormId formId, forms::UnitId unitId)
{
    return PointerOf<ui::WindowObject*>(Call(forms::kNotifyResolveUnitOrReport, static_cast<std::intptr_t>(formId),
                                             static_cast<std::intptr_t>(unitId)));
}

bool LoadForm(forms::FormId formId, ui::WindowObject* owner, bool modal)
{
    forms::FormLoadRequest request{formId, owner, modal ? 1 : 0};
    return g_host.load() && Call(forms::kNotifyLoadForm, Value(&request)) == 0;
}

void UnitDestroyed(forms::FormId formId, forms::UnitId unitId)
{
    Call(forms::kNotifyUnitDestroyed, static_cast<std::intptr_t>(formId), static_cast<std::intptr_t>(unitId));
}

const runtime::DataTypeRecord* DataType(runtime::DataTypeTag tag)
{
    return PointerOf<const runtime::DataTypeRecord*>(Call(forms::kNotifyDataType, static_cast<std::intptr_t>(tag)));
}

std::int32_t FormCount()
{
    return static_cast<std::int32_t>(Call(forms::kNotifyFormCount));
}

HWND HiddenOwner()
{
    return PointerOf<HWND>(Call(forms::kNotifyHiddenOwner));
}

forms::ProgramIcons ProgramIcons()
{
    const auto* icons = PointerOf<const forms::ProgramIcons*>(Call(forms::kNotifyProgramIcons));
    return icons ? *icons : forms::ProgramIcons{};
}

void AddIdleCallback(HWND window, void (*routine)(std::intptr_t argument), std::intptr_t argument)
{
    forms::IdleCallbackRecord record{routine, argument};
    Call(forms::kNotifyAddIdleCallback, Value(window), Value(&record));
}

void RemoveIdleCallback(HWND window)
{
    Call(forms::kNotifyRemoveIdleCallback, Value(window));
}

ui::WindowObject* WrapWindow(HWND window)
{
    return PointerOf<ui::WindowObject*>(Call(forms::kNotifyWrapWindow, Value(window)));
}

void DestroyWrapper(ui::WindowObject* wrapper)
{
    Call(forms::kNotifyDestroyWrapper, Value(wrapper));
}

HWND DetachWindow(ui::WindowObject* object)
{
    return PointerOf<HWND>(Call(forms::kNotifyDetachWindow, Value(object)));
}

HWND WindowHandle(ui::WindowObject* object)
{
    return PointerOf<HWND>(Call(forms::kNotifyWindowHandle, Value(object)));
}

bool AttachWindow(ui::WindowObject* object, HWND window)
{
    return Call(forms::kNotifyAttachWindow, Value(object), Value(window)) != 0;
}

bool PlayMusic(std::span<const std::uint8_t> data, bool loop)
{
    forms::MusicRequest request{data.data(), static_cast<std::int32_t>(data.size()), loop ? 1 : 0};
    return Call(forms::kNotifyPlayMusic, Value(&request)) != 0;
}

void StopMusic()
{
    Call(forms::kNotifyStopMusic);
}

std::string ProgramFolder()
{
    char buffer[MAX_PATH] = {};
    Call(forms::kNotifyCopyProgramPath, kSelectProgramFolder, Value(buffer));
    return buffer;
}

std::string ProgramFileName()
{
    const char* name = PointerOf<const char*>(Call(forms::kNotifyProgramFileName));
    return name ? name : "";
}

std::int32_t RunMode()
{
    return static_cast<std::int32_t>(Call(forms::kNotifyRunMode));
}

void* Allocate(std::int32_t size)
{
    return PointerOf<void*>(Call(forms::kNotifyAllocate, size, 0));
}

void* Reallocate(void* block, std::int32_t size)
{
    return PointerOf<void*>(Call(forms::kNotifyReallocate, Value(block), size));
}

void Free(void* block)
{
    Call(forms::kNotifyFree, Value(block));
}

void ReportError(const char* message)
{
    Call(forms::kNotifyReportError, Value(message));
    NoHost("a runtime error was reported");
}

void EndProgram(std::int32_t code)
{
    Call(forms::kNotifyEndProgram, code);
    NoHost("the program was ended");
}

}  // namespace host
}  // namespace vellumry::units
