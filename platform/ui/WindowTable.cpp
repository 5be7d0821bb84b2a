#include "platform/ui/private/WindowTable.h"

#include "platform/ui/WindowObject.h"

namespace vellumry::ui {

WindowTable& WindowTable::Instance()
{
    static WindowTable table;
    return table;
}

WindowRecord& WindowTable::Add(QWidget* widget, std::string className, WNDPROC procedure, DWORD style, DWORD exStyle)
{
    std::lock_guard guard(m_lock);
    auto record = std::make_unique<WindowRecord>();
    m_next += 4;
    record->handle = reinterpret_cast<HWND>(m_next);
    record->widget = widget;
    record->className = std::move(className);
    record->classProcedure = procedure;
    record->style = style;
    record->exStyle = exStyle;
    WindowRecord& result = *record;
    m_byWidget[widget] = result.handle;
    m_records[result.handle] = std::move(record);
    return result;
}

WindowRecord* WindowTable::Find(HWND window)
{
    std::lock_guard guard(m_lock);
    auto it = m_records.find(window);
    return it == m_records.end() ? nullptr : it->second.get();
}

WindowRecord* WindowTable::FindExact(const QWidget* widget)
{
    std::lock_guard guard(m_lock);
    auto it = m_byWidget.find(widget);
    if (it == m_byWidget.end())
        return nullptr;
    auto record = m_records.find(it->second);
    return record == m_records.end() ? nullptr : record->second.get();
}

WindowRecord* WindowTable::FindForWidget(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
        if (WindowRecord* record = FindExact(widget))
            return record;
    return nullptr;
}

void WindowTable::Remove(HWND window)
{
    std::lock_guard guard(m_lock);
    auto it = m_records.find(window);
    if (it == m_records.end())
        return;
    for (auto w = m_byWidget.begin(); w != m_byWidget.end();) {
        if (w->second == window)
            w = m_byWidget.erase(w);
        else
            ++w;
    }
    m_records.erase(it);
}

bool WindowTable::IsLive(HWND window)
{
    std::lock_guard guard(m_lock);
    auto it = m_records.find(window);
    return it != m_records.end() && !it->second->destroying && it->second->widget;
}

std::vector<HWND> WindowTable::TopLevelWindows()
{
    std::lock_guard guard(m_lock);
    std::vector<HWND> result;
    for (const auto& [handle, record] : m_records)
        if (record->widget && record->widget->isWindow() && !record->destroying)
            result.push_back(handle);
    return result;
}

void WindowTable::AttachObject(WindowRecord& record, WindowObject* object)
{
    record.object = object;
    object->m_handle = record.handle;
}

void WindowTable::DetachObject(WindowRecord& record)
{
    if (record.object)
        record.object->m_handle = nullptr;
    record.object = nullptr;
}

}  // namespace vellumry::ui
