#pragma once

// HostNotify: the numbered entry through which units and libraries call the
// runtime (raising events, resolving units, loading forms, memory, music,
// window objects, idle callbacks). Value 1 and value 2 are the two
// parameters; a record is passed by address in value 1.
//
// This is the edge between the libraries and the runtime, kept numbered as
// the libraries expect it. Inside this program nobody calls it by number but
// the units' host (units/common/UnitHost.h), which offers each code as a
// typed function; the pointers the entry carries in its integers are turned
// into each other only by the codec at the end of this header.

#include <cstdint>
#include <span>
#include <type_traits>

#include "forms/description/Identifiers.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

std::intptr_t HostNotify(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

enum HostNotifyCode : std::int32_t {
    kNotifyProgramIcons = 1000,
    kNotifyFormTable = 1001,
    kNotifyDataType = 1002,
    kNotifyOne = 1004,
    kNotifyVersion = 1005,
    kNotifyCopyProgramPath = 1006,
    kNotifyWrapWindow = 1007,
    kNotifyDestroyWrapper = 1008,
    kNotifyDetachWindow = 1009,
    kNotifyWindowHandle = 1010,
    kNotifyAttachWindow = 1011,
    kNotifyAddIdleCallback = 1012,
    kNotifyRemoveIdleCallback = 1013,
    kNotifyHiddenOwner = 1014,  // the hidden owner window, or null
    kNotifyUnitOfWindow = 1015,  // value 1 a window, value 2 a UnitWindowInfo to fill; 1 when it is a unit
    kNotifyUnitsOfForm = 1016,   // value 1 a FormId, value 2 a std::vector<UnitWindowInfo> to fill
    kNotifyUnitDestroyed = 2000,
    kNotifyZero = 2002,
    kNotifyProgramFolder = 2003,
    kNotifyProgramFileName = 2004,
    kNotifyLoadForm = 2005,
    kNotifyResolveUnit = 2006,
    kNotifyResolveUnitOrReport = 2007,
    kNotifyDispatchEvent = 2008,
    kNotifyRaiseSuppression = 2009,
    kNotifyLowerSuppression = 2010,
    kNotifyPlayMusic = 2015,
    kNotifyStopMusic = 2016,
    kNotifyCurrentEventSource = 2017,
    kNotifyAllocate = 2024,
    kNotifyFree = 2025,
    kNotifyReallocate = 2026,
    kNotifyReportError = 2027,
    kNotifyEndProgram = 2028,
    kNotifyClassifyType = 2029,
    kNotifyRunMode = 2030,
    kNotifyDispatchTypedEvent = 2031,
    kNotifyFormCount = 2032,
};

// The records passed with some codes.
struct ProgramIcons {
    HICON big = nullptr;
    HICON small = nullptr;
};

struct IdleCallbackRecord {
    void (*routine)(std::intptr_t argument) = nullptr;
    std::intptr_t argument = 0;
};

struct FormLoadRequest {
    FormId formId = 0;
    ui::WindowObject* owner = nullptr;
    std::int32_t modal = 0;
};

// A unit window of a loaded form.
struct UnitWindowInfo {
    FormId formId = 0;
    UnitId unitId = 0;
    std::int32_t index = -1;  // position in the stored order, 0 the window unit
    const runtime::DataTypeRecord* type = nullptr;
    ui::WindowObject* object = nullptr;
};

struct MusicRequest {
    const std::uint8_t* data = nullptr;
    std::int32_t length = 0;
    std::int32_t loop = 0;
};

// The codec of the entry's integers: the only casts between the pointers the
// codes carry (records, windows, objects, routines) and the two parameters.
template <typename Pointer>
Pointer FromNotifyValue(std::intptr_t value)
{
    static_assert(std::is_pointer_v<Pointer>);
    return reinterpret_cast<Pointer>(value);
}

template <typename Pointer>
std::intptr_t ToNotifyValue(Pointer pointer)
{
    static_assert(std::is_pointer_v<Pointer>);
    return reinterpret_cast<std::intptr_t>(pointer);
}

// The bytes of the program's icon group "DEFAULT_ICON" (an .ico file); the
// icons are made from them on the first request.
void SetProgramIconData(std::span<const std::uint8_t> icoFile);
void ReleaseProgramIcons();

}  // namespace vellumry::forms
