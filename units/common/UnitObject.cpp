#include "units/common/UnitObject.h"

#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/LiveUnits.h"

namespace vellumry::units {

void UnitObject::PostNcDestroy()
{
    host::UnitDestroyed(m_formId, m_unitId);
    DisposeUnit(this);  // nothing may touch this object after here
}

bool UnitObject::AttachWidget(std::unique_ptr<QWidget> widget, const char* className, DWORD style, DWORD exStyle,
                              const UnitCreateArguments& arguments)
{
    HWND window =
        ui::AttachWidgetWindow(widget.get(), className, style & ~WS_VISIBLE, exStyle, nullptr, arguments.controlId);
    if (!window)
        return false;
    widget.release();  // the window owns its widget now
    Attach(window);
    const RECT& r = arguments.rect;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    return true;
}

}  // namespace vellumry::units
