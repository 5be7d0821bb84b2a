#include "units/window/WindowUnit.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <memory>

#include "forms/engine/UnitCursors.h"
#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/QtHandles.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "sound/MidiPlayer.h"
#include "sound/MusicKind.h"
#include "units/common/LiveUnits.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitHost.h"
#include "units/picture/DecodedPicture.h"
#include "units/picture/PreparedPicture.h"
#include "units/window/BackgroundLayout.h"
#include "units/window/FormWindowWidget.h"
#include "units/window/WindowStyle.h"

namespace vellumry::units {
namespace {

constexpr const char* kDefaultClass = "NKWindow";
constexpr int kBigIconSize = 32;
constexpr int kSmallIconSize = 16;

// Window events.
enum WindowEvent : std::int32_t {
    kEventGotFocus = -7,
    kEventLostFocus = -8,
    kEventClosing = 12,
    kEventMayClose = 1,
    kEventDestroyed = 2,
    kEventMoved = 3,
    kEventSized = 4,
    kEventActivated = 5,
    kEventDeactivated = 6,
    kEventIdle = 7,
    kEventFirstActivated = 8,
    kEventShown = 10,
    kEventHidden = 11,
};

// Property numbers.
enum WindowProperty : std::int32_t {
    kCaption = 0, kWindowBorder, kBackColour, kBackPicture, kBackPictureMode, kBackMusic, kMusicPlayMode,
    kControlBox, kMaxButton, kMinButton, kStartPosition, kCloseButton, kWindowIcon, kEnterMovesFocus,
    kEscCloses, kF1Help, kHelpFile, kHelpContext, kShowInTaskbar, kDragByBody, kMousePointer, kAlwaysOnTop,
    kKeepCaptionActive, kWindowClassName,
};

constexpr DWORD kFrameBits = WS_THICKFRAME | WS_DLGFRAME | WS_BORDER;
constexpr DWORD kFrameExBits = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
constexpr std::int32_t kHighestPointer = 29;

std::vector<CWinFormUnit*>& LiveWindows()
{
    static std::vector<CWinFormUnit*> windows;
    return windows;
}

WindowStyleSettings SettingsOf(const WindowProperties& p)
{
    WindowStyleSettings s;
    s.border = p.WindowBorder;
    s.hasCaptionText = !p.Caption.empty();
    s.controlBox = p.ControlBox == 1;
    s.maxButton = p.MaxButton == 1;
    s.minButton = p.MinButton == 1;
    s.startPosition = p.StartPosition;
    s.showInTaskbar = p.ShowInTaskbar != 0;
    return s;
}

}  // namespace

const char* CWinFormUnit::DefaultClassName()
{
    return kDefaultClass;
}

CWinFormUnit* CWinFormUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<WindowProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CWinFormUnit> unit(new CWinFormUnit);
    unit->m_properties = std::move(*properties);
    unit->m_formId = arguments.formId;
    unit->m_unitId = arguments.unitId;
    unit->m_embedded = arguments.embedded;
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    LiveWindows().push_back(unit.get());
    unit->StartMusic();
    return AdoptUnit(std::move(unit));
}

CWinFormUnit::~CWinFormUnit()
{
    std::erase(LiveWindows(), this);
    if (auto* widget = dynamic_cast<FormWindowWidget*>(ui::WidgetOf(Handle())))
        widget->ForgetUnit();
}

bool CWinFormUnit::CreateWindowFor(const CreateArguments& arguments)
{
    WindowStyleSettings settings = SettingsOf(m_properties);
    WindowPlacementRequest request;
    request.baseStyle = arguments.baseStyle;
    request.embedded = arguments.embedded;
    request.hasParent = arguments.parent != nullptr;
    request.rect = arguments.rect;
    request.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    request.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND hiddenOwner = host::HiddenOwner();
    request.hiddenOwnerExists = hiddenOwner && IsWindow(hiddenOwner);
    WindowCreation creation = ComputeWindowCreation(settings, request);

    HWND owner = creation.ownedByHiddenOwner ? hiddenOwner : arguments.parent;
    const char* className = m_properties.WindowClassName.empty() ? kDefaultClass : m_properties.WindowClassName.c_str();
    if (!EnsureUnitClass(className))
        return false;
    QWidget* ownerWidget = owner ? ui::WidgetOf(owner) : nullptr;
    bool child = (creation.style & WS_CHILD) != 0;
    auto widget = std::make_unique<FormWindowWidget>(*this, ownerWidget, child ? Qt::Widget : Qt::Window);
    HWND window = ui::AttachWidgetWindow(widget.get(), className, creation.style & ~(WS_VISIBLE | WS_MINIMIZE),
                                         creation.exStyle, child ? nullptr : owner, 0);
    widget.release();  // the window owns its widget now
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(creation.style & ~WS_VISIBLE));
    Attach(window);
    SetWindowTextA(window, m_properties.Caption.c_str());
    const RECT& r = creation.rect;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);

    ApplyCaptionBits();
    RECT placed;
    GetWindowRect(window, &placed);
    if (placed.right - placed.left != r.right - r.left || placed.bottom - placed.top != r.bottom - r.top)
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    ApplyIcons();
    ApplyMousePointer();
    ui::WidgetOf(window)->setFont(QApplication::font());  // the default GUI font
    if (m_properties.AlwaysOnTop == 1)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyCloseButton();
    return true;
}

void CWinFormUnit::ApplyCaptionBits()
{
    HWND window = Handle();
    bool changed = false;
    DWORD style = WithCaptionBits(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), SettingsOf(m_properties), &changed);
    if (m_properties.WindowBorder == 0)
        style &= ~WS_DLGFRAME;
    if (changed) {
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style));
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

void CWinFormUnit::ApplyIcons()
{
    // Icons made from the property are ours to destroy when replaced; the
    // program's own are only borrowed.
    m_bigIcon.reset();
    m_smallIcon.reset();
    if (!m_properties.WindowIcon.empty()) {
        m_bigIcon.reset(ui::CreateIconFromFileData(m_properties.WindowIcon, kBigIconSize));
        m_smallIcon.reset(ui::CreateIconFromFileData(m_properties.WindowIcon, kSmallIconSize));
    }
    HICON big = m_bigIcon.get();
    HICON small = m_smallIcon.get();
    if (!big && !small) {
        forms::ProgramIcons own = host::ProgramIcons();
        big = own.big;
        small = own.small;
    }
    QIcon icon;
    for (HICON handle : {big, small})
        for (const QSize& size : ui::IconOf(handle).availableSizes())
            icon.addPixmap(ui::IconOf(handle).pixmap(size));
    if (QWidget* widget = ui::WidgetOf(Handle()))
        widget->setWindowIcon(icon);
}

void CWinFormUnit::ApplyCloseButton()
{
    QWidget* widget = ui::WidgetOf(Handle());
    if (!widget || !widget->isWindow())
        return;
    bool wanted = m_properties.CloseButton != 0 && (GetWindowLongA(Handle(), GWL_STYLE) & WS_SYSMENU);
    if (widget->windowFlags().testFlag(Qt::WindowCloseButtonHint) != wanted) {
        bool visible = widget->isVisible();
        widget->setWindowFlag(Qt::WindowCloseButtonHint, wanted);
        if (visible)
            widget->show();
    }
}

void CWinFormUnit::ApplyAlwaysOnTop()
{
    constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (m_properties.AlwaysOnTop == 1) {
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kKeep);
        return;
    }
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kKeep);
    for (CWinFormUnit* other : LiveWindows())
        if (other != this && other->Handle() && other->m_properties.AlwaysOnTop == 1 &&
            other->m_properties.ShowInTaskbar == 0)
            SetWindowPos(other->Handle(), HWND_TOPMOST, 0, 0, 0, 0, kKeep);
}

void CWinFormUnit::ApplyMousePointer()
{
    if (m_properties.MousePointer == 0) {
        ui::SetWindowCursor(Handle(), nullptr);
        return;
    }
    std::int32_t resource = forms::StoredPointerKind(m_properties.MousePointer);
    HCURSOR cursor = resource > 0 ? LoadCursorA(nullptr, IntResource{static_cast<WORD>(resource)}) : nullptr;
    ui::SetWindowCursor(Handle(), cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
}

void CWinFormUnit::ApplyStartPosition()
{
    HWND window = Handle();
    if (!IsWindowVisible(window))
        return;
    switch (m_properties.StartPosition) {
    case 0:
        ShowWindow(window, SW_RESTORE);
        break;
    case 1: {
        if (IsIconic(window) || IsZoomed(window))
            ShowWindow(window, SW_RESTORE);
        RECT rect;
        GetWindowRect(window, &rect);
        int width = rect.right - rect.left;
        int height = rect.bottom - rect.top;
        MoveWindow(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                   width, height, TRUE);
        break;
    }
    case 2:
        ShowWindow(window, SW_MINIMIZE);
        break;
    case 3:
        ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    default:
        break;
    }
}

void CWinFormUnit::StartMusic()
{
    const runtime::SharedBytes& music = m_properties.BackMusic;
    if (m_embedded || music.empty() || (m_properties.MusicPlayMode != 0 && m_properties.MusicPlayMode != 1))
        return;
    // WAV data goes to the sound player, MIDI data to the window's own MIDI
    // player; other data plays nothing.
    bool loop = m_properties.MusicPlayMode == 0;
    switch (sound::ClassifyMusic(music)) {
    case sound::MusicKind::Wave:
        m_playingWav = host::PlayMusic(music, loop);
        break;
    case sound::MusicKind::Midi:
        if (!m_midi)
            m_midi = std::make_unique<sound::MidiPlayer>();
        if (m_midi->Load(sound::MusicBytes::Held(music), loop))
            m_midi->Play();
        break;
    case sound::MusicKind::None:
        break;
    }
}

void CWinFormUnit::StopMusic()
{
    if (m_playingWav)
        host::StopMusic();
    m_playingWav = false;
    if (m_midi)
        m_midi->Stop();
}

void CWinFormUnit::PaintBackground(QPainter& painter, const QRegion& region)
{
    QWidget* widget = ui::WidgetOf(Handle());
    if (!widget)
        return;
    QColor colour = ColourOfReference(m_properties.BackColour);
    QRegion rest = region;
    const PreparedPicture* picture = nullptr;
    BackgroundLayout layout;
    if (!m_properties.BackPicture.empty()) {
        if (!m_background.Decoded())
            m_background.Decode(m_properties.BackPicture);
        picture = m_background.Prepared(colour);
    }
    if (picture) {
        QRect clip = region.boundingRect();
        layout = LayOutBackground(static_cast<PictureMode>(std::clamp(m_properties.BackPictureMode, 0, 3)),
                                  picture->image.width(), picture->image.height(), widget->width(), widget->height(),
                                  {clip.x(), clip.y(), clip.width(), clip.height()});
        // An icon is drawn blended, so the colour goes beneath it too.
        if (!picture->icon) {
            for (const PixelRect& target : layout.pictures)
                rest -= QRect(target.x, target.y, target.width, target.height);
            if (layout.coversClient)
                rest = QRegion();
        }
    }
    for (const QRect& rect : rest)
        painter.fillRect(rect, colour);
    for (const PixelRect& target : layout.pictures)
        DrawPicture(painter, *picture, target.x, target.y, target.width, target.height, SRCCOPY);
}

bool CWinFormUnit::Raise(std::int32_t event, std::initializer_list<std::int32_t> arguments)
{
    host::RaisedEvent raised = host::RaiseEvent(m_formId, m_unitId, event, arguments);
    return raised.hasResult && raised.result != 0;
}

// False when a handler answered false.
bool CWinFormUnit::RaiseAllowingVeto(std::int32_t event)
{
    host::RaisedEvent raised = host::RaiseEvent(m_formId, m_unitId, event);
    return !(raised.hasResult && raised.result == 0);
}

LRESULT CWinFormUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler may destroy the window, and with it this unit (closing in
    // event 12, unloading in event 8): after every event that can do so the
    // window is looked up again, and nothing of this object is touched once
    // it is gone.
    HWND window = Handle();
    bool embedded = m_embedded;
    switch (message) {
    case WM_CLOSE:
        if (!RaiseAllowingVeto(kEventClosing) && !embedded)
            return 0;
        if (!IsWindow(window))
            return 0;
        if (!RaiseAllowingVeto(kEventMayClose) && !embedded)
            return 0;
        if (IsWindow(window))
            DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION:
        return RaiseAllowingVeto(kEventMayClose) ? TRUE : FALSE;
    case WM_DESTROY:
        // The window is still valid here: the handler of event 2 may read
        // the form's properties and send it messages; asking to destroy it
        // again changes nothing.
        StopMusic();
        Raise(kEventDestroyed);
        if (m_helpOpened)
            WinHelpA(window, nullptr, HELP_QUIT, 0);
        m_helpOpened = false;
        return 0;
    case WM_MOVE:
        Raise(kEventMoved);
        return 0;
    case WM_SIZE:
        Raise(kEventSized);
        return 0;
    case WM_ACTIVATE:
        if (wParam != WA_INACTIVE) {
            if (!m_activatedOnce) {
                m_activatedOnce = true;
                Raise(kEventFirstActivated);
                if (!IsWindow(window))
                    return 0;
            }
            Raise(kEventActivated);
        } else {
            Raise(kEventDeactivated);
        }
        return 0;
    case WM_SHOWWINDOW:
        Raise(wParam ? kEventShown : kEventHidden);
        return 0;
    case WM_SETFOCUS:
        Raise(kEventGotFocus);
        return 0;
    case WM_KILLFOCUS:
        Raise(kEventLostFocus);
        return 0;
    case forms::kMessageFormIdle:
        return Raise(kEventIdle, {static_cast<std::int32_t>(wParam)}) ? 1 : 0;
    default:
        return WindowObject::WindowProc(message, wParam, lParam);
    }
}

void CWinFormUnit::PostNcDestroy()
{
    forms::FormId formId = m_formId;
    forms::UnitId unitId = m_unitId;
    host::UnitDestroyed(formId, unitId);
    DisposeUnit(this);  // nothing may touch this object after here
}

std::int32_t CWinFormUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    HWND window = Handle();
    WindowProperties& p = m_properties;
    switch (number) {
    case kCaption:
        p.Caption = value.text;
        SetWindowTextA(window, p.Caption.c_str());
        ApplyCaptionBits();
        break;
    case kWindowBorder: {
        p.WindowBorder = std::clamp(number32, 0, 6);
        WindowPlacementRequest request;
        request.embedded = m_embedded;
        WindowCreation frame = ComputeWindowCreation(SettingsOf(p), request);
        DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>((style & ~kFrameBits) | (frame.style & kFrameBits)));
        SetWindowLongA(window, GWL_EXSTYLE,
                       static_cast<LONG>((exStyle & ~kFrameExBits) | (frame.exStyle & kFrameExBits)));
        ApplyCaptionBits();
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        break;
    }
    case kBackColour:
        p.BackColour = number32;
        InvalidateRect(window, nullptr, TRUE);
        break;
    case kBackPicture:
        p.BackPicture = value.bytes;
        m_background.Clear();
        InvalidateRect(window, nullptr, TRUE);
        break;
    case kBackPictureMode:
        p.BackPictureMode = std::clamp(number32, 0, 3);
        if (!p.BackPicture.empty())
            InvalidateRect(window, nullptr, TRUE);
        break;
    case kBackMusic:
        StopMusic();
        p.BackMusic = value.bytes;
        StartMusic();
        break;
    case kMusicPlayMode:
        p.MusicPlayMode = std::clamp(number32, 0, 2);
        StopMusic();
        StartMusic();
        break;
    case kControlBox:
        p.ControlBox = number32 != 0;
        ApplyCaptionBits();
        ApplyCloseButton();
        break;
    case kMaxButton:
        p.MaxButton = number32 != 0;
        ApplyCaptionBits();
        break;
    case kMinButton:
        p.MinButton = number32 != 0;
        ApplyCaptionBits();
        break;
    case kStartPosition:
        p.StartPosition = std::clamp(number32, 0, 3);
        ApplyStartPosition();
        break;
    case kCloseButton:
        p.CloseButton = number32 != 0;
        ApplyCloseButton();
        break;
    case kWindowIcon:
        p.WindowIcon = value.bytes;
        ApplyIcons();
        break;
    case kEnterMovesFocus: p.EnterMovesFocus = number32 != 0; break;
    case kEscCloses: p.EscCloses = number32 != 0; break;
    case kF1Help: p.F1Help = number32 != 0; break;
    case kHelpFile: p.HelpFile = value.text; break;
    case kHelpContext: p.HelpContext = number32; break;
    case kShowInTaskbar: p.ShowInTaskbar = number32 != 0; break;
    case kDragByBody: p.DragByBody = number32 != 0; break;
    case kMousePointer:
        p.MousePointer = std::clamp(number32, 0, kHighestPointer);
        ApplyMousePointer();
        break;
    case kAlwaysOnTop:
        p.AlwaysOnTop = number32 != 0;
        ApplyAlwaysOnTop();
        break;
    case kKeepCaptionActive: p.KeepCaptionActive = number32 != 0; break;
    case kWindowClassName: p.WindowClassName = value.text; break;
    default:
        break;
    }
    return 0;
}

std::int32_t CWinFormUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const WindowProperties& p = m_properties;
    switch (number) {
    case kCaption: value->text = p.Caption; break;
    case kWindowBorder: value->number = p.WindowBorder; break;
    case kBackColour: value->number = p.BackColour; break;
    case kBackPicture: value->bytes = p.BackPicture; break;
    case kBackPictureMode: value->number = p.BackPictureMode; break;
    case kBackMusic: value->bytes = p.BackMusic; break;
    case kMusicPlayMode: value->number = p.MusicPlayMode; break;
    case kControlBox: value->number = p.ControlBox; break;
    case kMaxButton: value->number = p.MaxButton; break;
    case kMinButton: value->number = p.MinButton; break;
    case kStartPosition:
        value->number = IsIconic(Handle()) ? 2 : IsZoomed(Handle()) ? 3 : 0;
        break;
    case kCloseButton: value->number = p.CloseButton; break;
    case kWindowIcon: value->bytes = p.WindowIcon; break;
    case kEnterMovesFocus: value->number = p.EnterMovesFocus; break;
    case kEscCloses: value->number = p.EscCloses; break;
    case kF1Help: value->number = p.F1Help; break;
    case kHelpFile: value->text = p.HelpFile; break;
    case kHelpContext: value->number = p.HelpContext; break;
    case kShowInTaskbar: value->number = p.ShowInTaskbar; break;
    case kDragByBody: value->number = p.DragByBody; break;
    case kMousePointer: value->number = p.MousePointer; break;
    case kAlwaysOnTop: value->number = p.AlwaysOnTop; break;
    case kKeepCaptionActive: value->number = p.KeepCaptionActive; break;
    case kWindowClassName: value->text = p.WindowClassName; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CWinFormUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
