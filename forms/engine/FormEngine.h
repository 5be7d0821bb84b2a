#pragma once

// The form engine's state: the form table with a working unit table for every
// loaded form, and the operations on forms that the runtime and the units
// reach (loading, release, the unit objects, idle calls). The engine runs on
// the window thread; calls from other threads are carried over to it by the
// entry points that take them (property access, HostNotify).

#include <cstdint>
#include <optional>
#include <vector>

#include "forms/description/FormTable.h"
#include "forms/description/Identifiers.h"
#include "forms/description/UnitTable.h"
#include "platform/ui/WindowObject.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

struct LoadedForm {
    TemplateForm* form = nullptr;
    // The working copy of the unit table while the form is loaded; its
    // object and cursor slots hold handles (ObjectHandles.h).
    std::optional<UnitTable> working;
    // Top-level windows this form disabled while shown modally.
    std::vector<HWND> disabledWhileModal;
    bool wantsIdle = true;
};

// Installs the form table (runtime initialisation), replacing any earlier.
void InstallFormTable(FormTable table);
FormTable& Forms();
std::size_t FormCount();

// The state of a form of the table; null for an unknown FormId.
LoadedForm* FindLoadedForm(FormId formId);

// The working table of a loaded form, else its template table.
UnitTable& CurrentUnits(LoadedForm& form);

// Loads a form (steps of the form load: units created, re-parented, ordered,
// shown, events 0, 3 and 4 raised). An owner that is not a window fails the
// load; with `modal` the owner is ignored and the call returns when the form
// is gone. Returns false when the form could not be loaded.
bool LoadForm(FormId formId, bool modal, ui::WindowObject* owner);

// The unit object of a record's object slot in a loaded form, or null.
ui::WindowObject* UnitObject(LoadedForm& form, std::int32_t index);
// The unit object when its window exists, else null (unitId 0: the window).
ui::WindowObject* ResolveUnit(FormId formId, UnitId unitId);
// The record index of a unit (0 for unitId 0), or -1.
std::int32_t UnitIndex(const UnitTable& units, UnitId unitId);

// A unit's window was destroyed (HostNotify 2000).
void UnitWindowDestroyed(FormId formId, UnitId unitId);

bool AnyLiveForm();
bool IdleForms(long idleCount, std::uint32_t elapsedMilliseconds);
void ReleaseForms();

// The data type record of a unit record's type; null when unknown.
const runtime::DataTypeRecord* TypeOfRecord(std::span<const std::uint8_t> record);

// True while a unit's window is being re-created, when its old window's
// destruction must not release it.
bool RecreatingUnit();
// Re-creates a unit from its current data (after a property write asked for it).
void RecreateUnit(LoadedForm& form, std::int32_t index);

}  // namespace vellumry::forms
