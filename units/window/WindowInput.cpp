// The window unit's keyboard and mouse handling: its message
// pre-translation for messages to the window or any of its units. Tab and
// Shift+Tab move the focus, Enter presses the default button (or moves on),
// Esc closes, F1 opens help, Alt with a letter or digit finds a mnemonic, and
// a press on the body (or on a draggable unit) drags the window. A unit keeps
// Tab, Enter and Esc for itself when it answers WM_GETDLGCODE so (a report
// list editing a label, a multi-line edit box taking Enter).

#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/engine/UnitType.h"
#include "platform/kernel/PathMapping.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/UnitHost.h"
#include "units/window/WindowUnit.h"

namespace vellumry::units {
namespace {

// Event 0 of buttons and labels: the click.
constexpr std::int32_t kEventClick = 0;
// Longest caption read when looking for a mnemonic.
constexpr int kCaptionBuffer = 1024;

// State flags of unit types that take part in the form's mnemonics and in
// dragging the window by its body.
constexpr std::uint32_t kButtonLikeType = 0x800;
constexpr std::uint32_t kLabelLikeType = 0x2000;
constexpr std::uint32_t kDraggableType = 0x10000;

bool TypeHas(const forms::UnitWindowInfo& unit, std::uint32_t flag)
{
    return unit.type && (unit.type->stateFlags & flag) != 0;
}

bool CanTakeFocus(HWND window)
{
    return IsWindowVisible(window) && IsWindowEnabled(window) && (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
}

bool IsEnabledDefaultButton(const forms::UnitWindowInfo& unit)
{
    auto isDefault = forms::OperationsOf(unit.type).isDefaultButton;
    return isDefault && unit.object && IsWindowEnabled(unit.object->Handle()) && isDefault(unit.object);
}

std::string WindowTextOf(HWND window)
{
    char text[kCaptionBuffer];
    int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

char FoldLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// True when the caption marks `key` as its mnemonic ("&" before it).
bool HasMnemonic(const std::string& caption, char key)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (static_cast<unsigned char>(caption[i]) >= 0x80) {
            ++i;  // a two-byte character
            continue;
        }
        if (caption[i] == '&') {
            if (caption[i + 1] == '&') {
                ++i;
                continue;
            }
            return FoldLetter(caption[i + 1]) == FoldLetter(key);
        }
    }
    return false;
}

}  // namespace

bool CWinFormUnit::PreTranslateMessage(MSG& message)
{
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN || message.message == WM_KEYUP ||
        message.message == WM_SYSKEYUP) {
        // Keys for a disabled window go nowhere.
        if (!IsWindowEnabled(message.hwnd))
            return true;
        return HandleKey(message);
    }
    if (message.message == WM_LBUTTONDOWN)
        return StartBodyDrag(message);
    return false;
}

bool CWinFormUnit::HandleKey(const MSG& message)
{
    bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (!keyDown)
        return false;
    bool navigation = message.wParam == VK_TAB || message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
    if (navigation && message.hwnd != Handle()) {
        MSG asked = message;
        LRESULT kept = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&asked));
        if (kept & (message.wParam == VK_TAB ? DLGC_WANTTAB | DLGC_WANTALLKEYS : DLGC_WANTALLKEYS))
            return false;
    }
    switch (message.wParam) {
    case VK_TAB:
        return MoveFocus(GetKeyState(VK_SHIFT) < 0);
    case VK_RETURN:
        return PressDefaultButton(GetFocus());
    case VK_ESCAPE:
        if (m_properties.EscCloses != 1)
            return false;
        SendMessageA(Handle(), WM_CLOSE, 0, 0);
        return true;
    case VK_F1:
        return m_properties.F1Help == 1 && OpenHelp();
    default:
        break;
    }
    bool letterOrDigit = (message.wParam >= 'A' && message.wParam <= 'Z') || (message.wParam >= '0' && message.wParam <= '9');
    if (message.message == WM_SYSKEYDOWN && letterOrDigit && GetKeyState(VK_SHIFT) >= 0 &&
        GetKeyState(VK_CONTROL) >= 0)
        return HandleMnemonic(static_cast<char>(message.wParam));
    return false;
}

bool CWinFormUnit::MoveFocus(bool backwards)
{
    std::vector<forms::UnitWindowInfo> units = host::UnitsOfForm(m_formId);
    std::vector<HWND> order;
    for (const forms::UnitWindowInfo& unit : units)
        if (unit.index > 0)
            order.push_back(unit.object->Handle());
    if (order.empty())
        return false;
    HWND focus = GetFocus();
    auto at = std::find(order.begin(), order.end(), focus);
    std::size_t start = at == order.end() ? (backwards ? 0 : order.size() - 1) : static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 1; step <= order.size(); ++step) {
        std::size_t i = backwards ? (start + order.size() - step) % order.size() : (start + step) % order.size();
        if (CanTakeFocus(order[i])) {
            SetFocus(order[i]);
            return true;
        }
    }
    return false;
}

bool CWinFormUnit::PressDefaultButton(HWND focused)
{
    auto focusedUnit = host::UnitOfWindow(focused);
    if (focusedUnit && focusedUnit->formId == m_formId && IsEnabledDefaultButton(*focusedUnit)) {
        host::RaiseEvent(m_formId, focusedUnit->unitId, kEventClick);
        return true;
    }
    if (m_properties.EnterMovesFocus == 1)
        return MoveFocus(false);
    for (const forms::UnitWindowInfo& unit : host::UnitsOfForm(m_formId)) {
        if (unit.index > 0 && IsEnabledDefaultButton(unit)) {
            host::RaiseEvent(m_formId, unit.unitId, kEventClick);
            return true;
        }
    }
    return false;
}

bool CWinFormUnit::HandleMnemonic(char key)
{
    std::vector<forms::UnitWindowInfo> units = host::UnitsOfForm(m_formId);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const forms::UnitWindowInfo& unit = units[i];
        if (unit.index == 0 || !(TypeHas(unit, kButtonLikeType) || TypeHas(unit, kLabelLikeType)))
            continue;
        HWND window = unit.object->Handle();
        if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !HasMnemonic(WindowTextOf(window), key))
            continue;
        if (TypeHas(unit, kButtonLikeType)) {
            host::RaiseEvent(m_formId, unit.unitId, kEventClick);
            return true;
        }
        // A label hands the focus on to the unit after it.
        for (std::size_t j = i + 1; j < units.size(); ++j) {
            HWND next = units[j].object->Handle();
            if (CanTakeFocus(next)) {
                SetFocus(next);
                return true;
            }
        }
        return true;
    }
    return false;
}

bool CWinFormUnit::OpenHelp()
{
    std::string file = m_properties.HelpFile;
    if (file.empty()) {
        std::string name = host::ProgramFileName();
        std::size_t dot = name.rfind('.');
        file = host::ProgramFolder() + (dot == std::string::npos ? name : name.substr(0, dot)) + ".hlp";
    }
    if (!kernel::HostFileExists(kernel::ToHostPath(file)))
        return false;
    UINT command = m_properties.HelpContext != 0 ? HELP_CONTEXT : HELP_FINDER;
    if (WinHelpA(Handle(), file.c_str(), command, static_cast<ULONG_PTR>(m_properties.HelpContext)))
        m_helpOpened = true;
    return true;
}

bool CWinFormUnit::StartBodyDrag(const MSG& message)
{
    if (m_properties.DragByBody != 1)
        return false;
    if (message.hwnd != Handle()) {
        auto unit = host::UnitOfWindow(message.hwnd);
        if (!unit || unit->formId != m_formId || !TypeHas(*unit, kDraggableType))
            return false;
    }
    // The press becomes a press on the caption: the system moves the window.
    QWidget* widget = ui::WidgetOf(Handle());
    QWindow* handle = widget ? widget->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

}  // namespace vellumry::units
