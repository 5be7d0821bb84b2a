// RegisterClassA / GetClassInfoA / GetClassNameA: a process-wide registry of
// window classes by name (matched without letter case, as documented). A
// second registration of a name fails with ERROR_CLASS_ALREADY_EXISTS.

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowClassRegistry.h"
#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {
namespace {

constexpr DWORD kErrorClassAlreadyExists = 1410;
constexpr DWORD kErrorClassDoesNotExist = 1411;

std::string Key(LPCSTR name)
{
    std::string key(name ? name : "");
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return key;
}

struct Registry {
    std::mutex lock;
    std::map<std::string, WindowClass> classes;
};

Registry& Classes()
{
    static Registry registry;
    return registry;
}

}  // namespace

std::optional<WindowClass> FindWindowClass(LPCSTR name)
{
    Registry& registry = Classes();
    std::lock_guard guard(registry.lock);
    auto it = registry.classes.find(Key(name));
    if (it == registry.classes.end())
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
    Registry& registry = Classes();
    std::lock_guard guard(registry.lock);
    std::string key = Key(windowClass->lpszClassName);
    if (registry.classes.count(key)) {
        SetLastError(kErrorClassAlreadyExists);
        return 0;
    }
    WindowClass entry;
    entry.name = windowClass->lpszClassName;
    entry.style = windowClass->style;
    entry.procedure = windowClass->lpfnWndProc;
    entry.cursor = windowClass->hCursor;
    entry.background = windowClass->hbrBackground;
    entry.atom = static_cast<ATOM>(0xC000 + registry.classes.size());
    registry.classes[key] = entry;
    return entry.atom;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* windowClass)
{
    auto found = FindWindowClass(className);
    if (!found) {
        SetLastError(kErrorClassDoesNotExist);
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
