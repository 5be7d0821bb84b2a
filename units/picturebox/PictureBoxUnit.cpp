#include "units/picturebox/PictureBoxUnit.h"

#include <QPainter>

#include <algorithm>
#include <memory>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/BorderPainting.h"
#include "units/common/BorderStyle.h"
#include "units/common/LiveUnits.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitHost.h"
#include "units/picturebox/PictureBoxWidget.h"
#include "units/window/BackgroundLayout.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "_QV_PicBox";
constexpr std::int32_t kHighestDisplayMode = 2;

enum PictureBoxProperty : std::int32_t {
    kBorderStyle = 0, kBackColour, kPicture, kDisplayMode, kAnimate, kBoundUnit1, kBoundUnit2,
};

PictureMode ModeOf(std::int32_t displayMode)
{
    switch (displayMode) {
    case 1: return PictureMode::Stretched;
    case 2: return PictureMode::Centred;
    default: return PictureMode::AtOrigin;
    }
}

}  // namespace

const char* CPicBoxUnit::ClassName()
{
    return kClassName;
}

CPicBoxUnit* CPicBoxUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<PictureBoxProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CPicBoxUnit> unit(new CPicBoxUnit(arguments));
    unit->m_properties = std::move(*properties);
    unit->m_creationFlag = arguments.creationFlag;
    unit->m_animateInForce = !arguments.creationFlag && unit->m_properties.Animate != 0;
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    unit->LoadPicture();
    ApplyBorderStyle(unit->Handle(), unit->m_properties.BorderStyle);
    return AdoptUnit(std::move(unit));
}

CPicBoxUnit::~CPicBoxUnit()
{
    // The animation thread is gone before anything it could reach.
    m_picture.Clear();
    if (m_widget)
        m_widget->ForgetUnit();
}

bool CPicBoxUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    auto widget = std::make_unique<PictureBoxWidget>(*this, parentWidget);
    PictureBoxWidget* widgetOfWindow = widget.get();
    DWORD style = arguments.baseStyle | WS_CHILD | WS_CLIPSIBLINGS;
    if (!AttachWidget(std::move(widget), kClassName, style, 0, arguments))
        return false;
    m_widget = widgetOfWindow;
    HWND window = Handle();
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CPicBoxUnit::LoadPicture()
{
    m_prepared.reset();
    m_picture.Set(m_properties.Picture, m_animateInForce);
    StartAnimation();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void CPicBoxUnit::StartAnimation()
{
    // The animation thread knows only the window's handle: a message posted
    // to a window that has gone meanwhile is dropped.
    HWND window = Handle();
    m_picture.StartAnimation([window] { PostMessageA(window, kMessageNextFrame, 0, 0); });
}

bool CPicBoxUnit::Animating() const
{
    return m_picture.Animation() && m_picture.Animation()->Running();
}

void CPicBoxUnit::Paint(QPainter& painter)
{
    QWidget* widget = ui::WidgetOf(Handle());
    if (!widget)
        return;
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
    int inset = BorderInset(style, exStyle);
    QRect client = QRect(QPoint(0, 0), widget->size()).adjusted(inset, inset, -inset, -inset);
    QColor colour = ColourOfReference(m_properties.BackColour);

    PaintBorder(painter, widget->size(), style, exStyle);
    if (client.isEmpty())
        return;
    painter.fillRect(client, colour);

    std::optional<PreparedPicture> frame;
    const PreparedPicture* picture = nullptr;
    if (const GifAnimator* animation = m_picture.Animation()) {
        if (auto current = animation->CurrentFrame())
            frame = PrepareFrame(*current, colour);
        picture = frame ? &*frame : nullptr;
    } else if (const DecodedPicture* still = m_picture.Still()) {
        if (!m_prepared || m_preparedOver != m_properties.BackColour) {
            m_prepared = PreparePicture(*still, colour);
            m_preparedOver = m_properties.BackColour;
        }
        picture = m_prepared ? &*m_prepared : nullptr;
    }
    if (!picture)
        return;
    PixelRect all{0, 0, client.width(), client.height()};
    BackgroundLayout layout =
        LayOutBackground(ModeOf(m_properties.DisplayMode), static_cast<int>(m_picture.Width()),
                         static_cast<int>(m_picture.Height()), client.width(), client.height(), all);
    painter.save();
    painter.setClipRect(client);
    for (const PixelRect& target : layout.pictures)
        DrawPicture(painter, *picture, client.x() + target.x, client.y() + target.y, target.width, target.height,
                    SRCCOPY);
    painter.restore();
}

LRESULT CPicBoxUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kMessageNextFrame:
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        // No frame is composed for a window that is going.
        m_picture.StopAnimation();
        return WindowObject::WindowProc(message, wParam, lParam);
    default:
        return WindowObject::WindowProc(message, wParam, lParam);
    }
}

std::int32_t CPicBoxUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    PictureBoxProperties& p = m_properties;
    switch (number) {
    case kBorderStyle:
        p.BorderStyle = std::clamp(number32, 0, kHighestBorderStyle);
        ApplyBorderStyle(Handle(), p.BorderStyle);
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case kBackColour:
        p.BackColour = number32;
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case kPicture:
        m_picture.Clear();  // stops the animation before the bytes go
        p.Picture = value.bytes;
        LoadPicture();
        break;
    case kDisplayMode: {
        std::int32_t mode = std::clamp(number32, 0, kHighestDisplayMode);
        bool changed = mode != p.DisplayMode;
        p.DisplayMode = mode;
        if (changed)
            InvalidateRect(Handle(), nullptr, FALSE);
        break;
    }
    case kAnimate:
        p.Animate = number32;
        if (!m_creationFlag && DetectPictureKind(p.Picture) == PictureKind::Gif) {
            m_picture.Clear();
            m_animateInForce = number32 != 0;
            LoadPicture();
        }
        break;
    case kBoundUnit1: p.BoundUnit1 = value.text; break;
    case kBoundUnit2: p.BoundUnit2 = value.text; break;
    default:
        break;
    }
    return 0;
}

std::int32_t CPicBoxUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const PictureBoxProperties& p = m_properties;
    switch (number) {
    case kBorderStyle: value->number = p.BorderStyle; break;
    case kBackColour: value->number = p.BackColour; break;
    case kPicture: value->bytes = p.Picture; break;
    case kDisplayMode: value->number = p.DisplayMode; break;
    case kAnimate: value->number = p.Animate; break;
    case kBoundUnit1: value->text = p.BoundUnit1; break;
    case kBoundUnit2: value->text = p.BoundUnit2; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CPicBoxUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
