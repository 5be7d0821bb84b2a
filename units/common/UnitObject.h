#pragma once

// What every unit other than the form window shares: the arguments the form
// engine creates it with, the form and unit identifiers its events carry,
// its window made from its own widget, and its end: when the window is gone
// it tells the runtime (HostNotify 2000) and is deleted. Window thread only.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

#include "forms/description/Identifiers.h"
#include "platform/ui/WindowObject.h"
#include "units/common/UnitHost.h"

class QWidget;

namespace vellumry::units {

struct UnitCreateArguments {
    std::span<const std::uint8_t> record;
    DWORD baseStyle = 0;
    HWND parent = nullptr;
    std::int32_t controlId = 0;
    RECT rect{};
    forms::FormId formId = 0;
    forms::UnitId unitId = 0;
    // The embedding / creation flag; always 0 from the form engine.
    bool creationFlag = false;
};

class UnitObject : public ui::WindowObject {
public:
    using CreateArguments = UnitCreateArguments;

    void PostNcDestroy() override;

protected:
    explicit UnitObject(const UnitCreateArguments& arguments)
        : m_formId(arguments.formId), m_unitId(arguments.unitId)
    {
    }

    // Makes `widget` (a child of the parent window's widget) this unit's
    // window of `className`, hidden, with the control identifier of the
    // arguments, at their rectangle. False when no window could be made;
    // the widget is then deleted.
    bool AttachWidget(std::unique_ptr<QWidget> widget, const char* className, DWORD style, DWORD exStyle,
                      const UnitCreateArguments& arguments);

    host::RaisedEvent Raise(std::int32_t event, std::initializer_list<std::int32_t> arguments = {}) const
    {
        return host::RaiseEvent(m_formId, m_unitId, event, arguments);
    }

    forms::FormId m_formId;
    forms::UnitId m_unitId;
};

}  // namespace vellumry::units
