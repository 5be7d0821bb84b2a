// GetSystemMetrics (the screen size, from the primary screen; 1024 x 768
// without a display) and GetSysColor (the classic default colour scheme), as
// user32 documents them for the indexes the runtime and its units ask for;
// other indexes answer 0 and a mid grey.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include "platform/ui/WinUser.h"

namespace {

constexpr QRect kScreenWithoutDisplay(0, 0, 1024, 768);

constexpr DWORD kButtonFace = 0x00F0F0F0;
constexpr DWORD kWindowBackground = 0x00FFFFFF;
constexpr DWORD kWindowText = 0x00000000;
constexpr DWORD kOtherColour = 0x00C0C0C0;

}  // namespace

int GetSystemMetrics(int index)
{
    QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                          ? QGuiApplication::primaryScreen()
                          : nullptr;
    QRect geometry = screen ? screen->geometry() : kScreenWithoutDisplay;
    switch (index) {
    case SM_CXSCREEN:
        return geometry.width();
    case SM_CYSCREEN:
        return geometry.height();
    default:
        return 0;
    }
}

DWORD GetSysColor(int index)
{
    switch (index) {
    case COLOR_BTNFACE:
        return kButtonFace;
    case COLOR_WINDOW:
        return kWindowBackground;
    case COLOR_WINDOWTEXT:
        return kWindowText;
    default:
        return kOtherColour;
    }
}
