#include "units/window/WindowStyle.h"

namespace vellumry::units {
namespace {

constexpr DWORD kCaptionSet = WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;

bool WantsCaption(const WindowStyleSettings& s)
{
    return s.border != 0 && (s.hasCaptionText || s.controlBox);
}

DWORD ButtonBits(const WindowStyleSettings& s)
{
    return (s.maxButton ? WS_MAXIMIZEBOX : 0) | (s.minButton ? WS_MINIMIZEBOX : 0);
}

}  // namespace

DWORD CaptionStyleBits(const WindowStyleSettings& settings)
{
    DWORD bits = 0;
    if (WantsCaption(settings)) {
        bits |= WS_CAPTION;
        if (settings.controlBox)
            bits |= WS_SYSMENU;
    }
    if (settings.border != 0)
        bits |= WS_DLGFRAME;
    return bits | ButtonBits(settings);
}

DWORD WithCaptionBits(DWORD currentStyle, const WindowStyleSettings& settings, bool* changed)
{
    DWORD wanted = CaptionStyleBits(settings);
    DWORD updated = (currentStyle & ~kCaptionSet) | (wanted & kCaptionSet);
    if (settings.border != 0)
        updated |= WS_DLGFRAME;
    if (changed)
        *changed = (currentStyle & kCaptionSet) != (wanted & kCaptionSet);
    return updated;
}

WindowCreation ComputeWindowCreation(const WindowStyleSettings& settings, const WindowPlacementRequest& request)
{
    WindowCreation result;
    DWORD style = request.baseStyle | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (settings.border != 0) {
        if (WantsCaption(settings)) {
            style |= WS_CAPTION;
            if (settings.controlBox)
                style |= WS_SYSMENU;
        }
        if (request.embedded)
            exStyle |= WS_EX_DLGMODALFRAME;
        else
            style |= WS_DLGFRAME;
        switch (settings.border) {
        case 1: style |= WS_THICKFRAME; break;
        case 3: style |= WS_THICKFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
        case 4: exStyle |= WS_EX_TOOLWINDOW; break;
        case 5: style |= WS_THICKFRAME; exStyle |= WS_EX_CLIENTEDGE; break;
        case 6: exStyle |= WS_EX_CLIENTEDGE; break;
        default: break;
        }
    }
    style |= ButtonBits(settings);

    RECT rect = request.rect;
    if (!request.embedded) {
        switch (settings.startPosition) {
        case 1: {
            LONG width = rect.right - rect.left;
            LONG height = rect.bottom - rect.top;
            rect.left = (request.screenWidth - width) / 2;
            rect.top = (request.screenHeight - height) / 2;
            rect.right = rect.left + width;
            rect.bottom = rect.top + height;
            break;
        }
        case 2:
            style |= WS_MINIMIZE;
            break;
        case 3:
            if (style & WS_THICKFRAME)
                style |= WS_MAXIMIZE;
            break;
        default:
            break;
        }
    }
    if (request.embedded) {
        style &= ~WS_THICKFRAME;
        style |= WS_CHILD;
    } else if (request.hasParent) {
        style &= ~WS_CHILD;
        style |= WS_POPUP;
    }
    result.ownedByHiddenOwner = !request.hasParent && request.hiddenOwnerExists &&
                                (!settings.showInTaskbar || request.ownAllByHiddenOwner);
    result.style = style;
    result.exStyle = exStyle;
    result.rect = rect;
    return result;
}

}  // namespace vellumry::units
