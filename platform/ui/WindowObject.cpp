#include "platform/ui/WindowObject.h"

#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {

WindowObject::~WindowObject()
{
    if (m_handle)
        Detach();
}

bool WindowObject::Attach(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record || record->object || m_handle)
        return false;
    WindowTable::AttachObject(*record, this);
    return true;
}

HWND WindowObject::Detach()
{
    HWND window = m_handle;
    if (WindowRecord* record = WindowTable::Instance().Find(window); record && record->object == this)
        WindowTable::DetachObject(*record);
    m_handle = nullptr;
    return window;
}

WindowObject* WindowObject::FromHandle(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    return record ? record->object : nullptr;
}

bool WindowObject::PreTranslateMessage(MSG&)
{
    return false;
}

LRESULT WindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = WindowTable::Instance().Find(m_handle);
    if (record && record->classProcedure)
        return record->classProcedure(m_handle, message, wParam, lParam);
    return DefWindowProcA(m_handle, message, wParam, lParam);
}

}  // namespace vellumry::ui
