// RegisterClassA / GetClassInfoA / GetClassNameA: a process-wide registry of
// window classes by name (matched without letter case, as documented). A
// second registration of a name fails with ERROR_CLASS_ALREADY_EXISTS.

#include <cstring>
#include <map>
#include <string>

#include "platform/base/Guarded.h"
#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowClassRegistry.h"
#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {
namespace {

std::string Key(LPCSTR name)
{
    std::string key(name ? name : "");
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return key;
}

// Registered classes by their lower-cased names.
base::Guarded<std::map<std::string, WindowClass>>& Classes()
{
    static base::Guarded<std::map<std::string, WindowClass>> classes;
    return classes;
}

}  // namespace

std::optional<WindowClass> FindWindowClass(LPCSTR name)
{
    auto classes = Classes().Lock();
    auto it = classes->find(Key(name));
    if (it == classes->end())
        return std::nullopt;
    return it->second;
}

}  // namespace vellumry::ui

using namespace vellumry::ui;

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !*windowClass->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto classes = Classes().Lock();
    std::string key = Key(windowClass->lpszClassName);
    if (classes->count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass entry;
    entry.name = windowClass->lpszClassName;
    entry.style = windowClass->style;
    entry.procedure = windowClass->lpfnWndProc;
    entry.cursor = windowClass->hCursor;
    entry.background = windowClass->hbrBackground;
    entry.atom = static_cast<ATOM>(0xC000 + classes->size());
    (*classes)[key] = entry;
    return entry.atom;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* windowClass)
{
    auto found = FindWindowClass(className);
    if (!found) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (windowClass) {
        std::memset(windowClass, 0, sizeof *windowClass);
        windowClass->style = found->style;
        windowClass->lpfnWndProc = found->procedure;
        windowClass->hCursor = found->cursor;
        windowClass->hbrBackground = found->background;
        windowClass->lpszClassName = className;
    }
    return TRUE;
}

int GetClassNameA(HWND window, LPSTR className, int size)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record || !className || size <= 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    int length = std::min(static_cast<int>(record->className.size()), size - 1);
    std::memcpy(className, record->className.data(), static_cast<size_t>(length));
    className[length] = '\0';
    return length;
}
