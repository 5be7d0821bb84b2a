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
    auto maps = m_maps.Lock();
    auto record = std::make_unique<WindowRecord>();
    record->handle = reinterpret_cast<HWND>(maps->next);
    maps->next += kHandleStep;
    record->widget = widget;
    record->className = std::move(className);
    record->classProcedure = procedure;
    record->style = style;
    record->exStyle = exStyle;
    WindowRecord& result = *record;
    maps->byWidget[widget] = result.handle;
    maps->records[result.handle] = std::move(record);
    HWND handle = result.handle;
    QObject::connect(widget, &QObject::destroyed, [this, handle] {
        auto locked = m_maps.Lock();
        if (auto it = locked->records.find(handle); it != locked->records.end())
            it->second->hasWidget = false;
    });
    return result;
}

WindowRecord* WindowTable::Find(HWND window)
{
    auto maps = m_maps.Lock();
    auto it = maps->records.find(window);
    return it == maps->records.end() ? nullptr : it->second.get();
}

WindowRecord* WindowTable::FindExact(const QWidget* widget)
{
    auto maps = m_maps.Lock();
    auto it = maps->byWidget.find(widget);
    if (it == maps->byWidget.end())
        return nullptr;
    auto record = maps->records.find(it->second);
    return record == maps->records.end() ? nullptr : record->second.get();
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
    auto maps = m_maps.Lock();
    auto it = maps->records.find(window);
    if (it == maps->records.end())
        return;
    std::erase_if(maps->byWidget, [&](const auto& entry) { return entry.second == window; });
    maps->records.erase(it);
}

bool WindowTable::IsLive(HWND window)
{
    auto maps = m_maps.Lock();
    auto it = maps->records.find(window);
    return it != maps->records.end() && !it->second->destroying && it->second->hasWidget;
}

bool WindowTable::Destroying(const WindowRecord& record)
{
    auto maps = m_maps.Lock();
    return record.destroying;
}

void WindowTable::MarkDestroying(WindowRecord& record)
{
    auto maps = m_maps.Lock();
    record.destroying = true;
}

std::vector<HWND> WindowTable::TopLevelWindows()
{
    auto maps = m_maps.Lock();
    std::vector<HWND> result;
    for (const auto& [handle, record] : maps->records)
        if (record->hasWidget && !record->destroying && record->widget && record->widget->isWindow())
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
