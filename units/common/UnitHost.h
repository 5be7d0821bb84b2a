#pragma once

// The units' host: the one way units reach the runtime. Every unit type of
// this program lives in the core or the extended-UI library, whose notify
// routine (UnitLibraryNotify) receives the runtime's HostNotify entry at
// start-up. The functions below call that numbered entry, one typed function
// per code, so that no unit spells a code, builds a record or casts a
// pointer into an integer: a unit type calls host::RaiseEvent, not
// Host(2008, ...).
//
// Before the entry has been handed over (tools, tests that make units
// without a runtime) every call answers nothing: null, 0, false or empty.
//
// Threads: the runtime carries the calls that touch windows or the form
// table to the window thread; the others (memory, music, the event
// suppression counter) run on the caller.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/EventDispatch.h"
#include "forms/engine/HostNotify.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::units {

// The libraries' notify routine: code 1 brings the HostNotify entry, code 6
// announces the shutdown.
std::intptr_t UnitLibraryNotify(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

namespace host {

struct RaisedEvent {
    bool ran = false;
    bool hasResult = false;
    std::int32_t result = 0;
};

// Events (2008): raises an event of a unit with up to five integer
// arguments (more are not passed) and reports whether a handler ran and what
// it answered.
RaisedEvent RaiseEvent(forms::FormId formId, forms::UnitId unitId, std::int32_t event,
                       std::initializer_list<std::int32_t> arguments = {});
// The unit whose event is being dispatched (2017); nullopt when none.
std::optional<forms::EventSource> CurrentEventSource();
// The event suppression counter (2009, 2010).
void SuppressEvents();
void AllowEvents();

// Forms and units.
// The unit windows of a loaded form in stored order (1016).
std::vector<forms::UnitWindowInfo> UnitsOfForm(forms::FormId formId);
// The unit a window belongs to (1015); nullopt for other windows.
std::optional<forms::UnitWindowInfo> UnitOfWindow(HWND window);
// A unit's object when its window exists (2006); null otherwise. The
// reporting form (2007) ends the program with "指定窗口或窗口组件不存在或尚未载入".
ui::WindowObject* ResolveUnit(forms::FormId formId, forms::UnitId unitId);
ui::WindowObject* ResolveUnitOrReport(forms::FormId formId, forms::UnitId unitId);
// Loads a form (2005); false when it could not be loaded.
bool LoadForm(forms::FormId formId, ui::WindowObject* owner, bool modal);
// A unit's window was destroyed (2000): every unit's PostNcDestroy says so.
void UnitDestroyed(forms::FormId formId, forms::UnitId unitId);
// The data type record of a unit type tag (1002); null for none.
const runtime::DataTypeRecord* DataType(runtime::DataTypeTag tag);
std::int32_t FormCount();

// Windows.
// The hidden owner window (1014); null when there is none.
HWND HiddenOwner();
// The program's own icons, made once and kept by the runtime (1000).
forms::ProgramIcons ProgramIcons();
// Idle callbacks of a window (1012, 1013).
void AddIdleCallback(HWND window, void (*routine)(std::intptr_t argument), std::intptr_t argument);
void RemoveIdleCallback(HWND window);
// Window objects for windows made elsewhere (1007 to 1011).
ui::WindowObject* WrapWindow(HWND window);
void DestroyWrapper(ui::WindowObject* wrapper);
HWND DetachWindow(ui::WindowObject* object);
HWND WindowHandle(ui::WindowObject* object);
bool AttachWindow(ui::WindowObject* object, HWND window);

// Music (2015, 2016). The data must stay alive while it plays; the player
// does not copy it (it borrows it, runtime/base/SharedBytes.h).
bool PlayMusic(std::span<const std::uint8_t> data, bool loop);
void StopMusic();

// The program (1006, 2004, 2030).
// The program's folder with its trailing "\" (GBK).
std::string ProgramFolder();
std::string ProgramFileName();
std::int32_t RunMode();

// Memory and ending (2024 to 2028).
void* Allocate(std::int32_t size);
void* Reallocate(void* block, std::int32_t size);
void Free(void* block);
[[noreturn]] void ReportError(const char* message);
[[noreturn]] void EndProgram(std::int32_t code);

}  // namespace host
}  // namespace vellumry::units
