#include "units/button/ButtonUnit.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <memory>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/button/ButtonWidget.h"
#include "units/common/ControlStyles.h"
#include "units/common/DisplayText.h"
#include "units/common/LiveUnits.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitFont.h"
#include "units/common/UnitHost.h"
#include "units/picture/DecodedPicture.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "BUTTON";
constexpr std::int32_t kHighestAlignment = 2;
// The push-button kind in the low bits, the alignment and picture bits.
constexpr DWORD kTypeMask = 0x0000000F;
constexpr DWORD kOwnBits = kTypeMask | BS_ICON | BS_BITMAP | BS_CENTER | BS_VCENTER;

enum ButtonProperty : std::int32_t {
    kPicture = 0, kDefaultButton, kCaption, kHorizontalAlignment, kVerticalAlignment, kFont,
};

enum ButtonEvent : std::int32_t { kEventClicked = 0, kEventGotFocus = -7, kEventLostFocus = -8 };

DWORD HorizontalBits(std::int32_t alignment)
{
    switch (alignment) {
    case 0: return BS_LEFT;
    case 2: return BS_RIGHT;
    default: return BS_CENTER;
    }
}

DWORD VerticalBits(std::int32_t alignment)
{
    switch (alignment) {
    case 0: return BS_TOP;
    case 2: return BS_BOTTOM;
    default: return BS_VCENTER;
    }
}

Qt::Alignment AlignmentOf(const ButtonProperties& p)
{
    Qt::Alignment horizontal = p.HorizontalAlignment == 0   ? Qt::AlignLeft
                               : p.HorizontalAlignment == 2 ? Qt::AlignRight
                                                            : Qt::AlignHCenter;
    Qt::Alignment vertical = p.VerticalAlignment == 0   ? Qt::AlignTop
                             : p.VerticalAlignment == 2 ? Qt::AlignBottom
                                                        : Qt::AlignVCenter;
    return horizontal | vertical;
}

}  // namespace

CButtonUnit* CButtonUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<ButtonProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CButtonUnit> unit(new CButtonUnit(arguments));
    unit->m_properties = std::move(*properties);
    unit->PreparePictureOfRecord();
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    return AdoptUnit(std::move(unit));
}

CButtonUnit::~CButtonUnit()
{
    if (m_widget)
        m_widget->ForgetUnit();
}

void CButtonUnit::PreparePictureOfRecord()
{
    // A picture that does not decode, or cannot be made ready for drawing
    // over the button face, is dropped: the caption shows instead.
    m_picture.reset();
    if (auto decoded = DecodePicture(m_properties.ButtonPicture))
        m_picture = PreparePicture(*decoded, ColourOfReference(kButtonFaceColour));
}

DWORD CButtonUnit::ButtonStyleBits() const
{
    DWORD bits = BS_MULTILINE | HorizontalBits(m_properties.HorizontalAlignment) |
                 VerticalBits(m_properties.VerticalAlignment);
    if (m_properties.DefaultButton == 1)
        bits |= BS_DEFPUSHBUTTON;
    if (m_picture)
        bits |= m_picture->icon ? BS_ICON : BS_BITMAP;
    return bits;
}

bool CButtonUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    auto widget = std::make_unique<ButtonWidget>(*this, parentWidget);
    ButtonWidget* widgetOfWindow = widget.get();
    DWORD style = arguments.baseStyle | WS_CHILD | WS_CLIPSIBLINGS | ButtonStyleBits();
    if (!AttachWidget(std::move(widget), kClassName, style, 0, arguments))
        return false;
    m_widget = widgetOfWindow;
    HWND window = Handle();
    SetWindowTextA(window, m_properties.ButtonCaption.c_str());
    m_widget->setFont(FontOfBlock(m_properties.Font));
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CButtonUnit::ApplyStyleBits()
{
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>((style & ~kOwnBits) | ButtonStyleBits()));
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool CButtonUnit::IsDefaultButton() const
{
    return (static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & kTypeMask) == BS_DEFPUSHBUTTON;
}

void CButtonUnit::PaintFace(QPainter& painter, QRect contents, QColor textColour)
{
    Qt::Alignment alignment = AlignmentOf(m_properties);
    if (m_picture) {
        QSize size = m_picture->image.size();
        QRect target = QStyle::alignedRect(Qt::LeftToRight, alignment, size, contents);
        painter.save();
        painter.setClipRect(contents);
        DrawPicture(painter, *m_picture, target.x(), target.y(), -1, -1, SRCCOPY);
        painter.restore();
        return;
    }
    char caption[1024];
    int length = GetWindowTextA(Handle(), caption, sizeof caption);
    if (length <= 0)
        return;
    painter.setPen(textColour);
    painter.drawText(contents, static_cast<int>(alignment) | Qt::TextWordWrap | Qt::TextShowMnemonic,
                     DisplayText(std::string_view(caption, static_cast<std::size_t>(length))));
}

void CButtonUnit::OnClicked()
{
    Raise(kEventClicked);
}

LRESULT CButtonUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        Raise(kEventGotFocus);
        return 0;
    case WM_KILLFOCUS:
        Raise(kEventLostFocus);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = WindowObject::WindowProc(message, wParam, lParam);
        InvalidateRect(Handle(), nullptr, TRUE);
        return result;
    }
    case BM_CLICK:
        // A click made by a message, as a press of the mouse would make it:
        // none on a disabled button. The handler may destroy the unit.
        if (IsWindowEnabled(Handle()))
            OnClicked();
        return 0;
    default:
        return WindowObject::WindowProc(message, wParam, lParam);
    }
}

std::int32_t CButtonUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    ButtonProperties& p = m_properties;
    switch (number) {
    case kPicture:
        // The picture decides the button's kind: the window is made anew.
        p.ButtonPicture = value.bytes;
        return 1;
    case kDefaultButton:
        p.DefaultButton = std::clamp(number32, 0, 1);
        ApplyStyleBits();
        break;
    case kCaption:
        p.ButtonCaption = value.text;
        SetWindowTextA(Handle(), p.ButtonCaption.c_str());
        break;
    case kHorizontalAlignment:
        p.HorizontalAlignment = std::clamp(number32, 0, kHighestAlignment);
        ApplyStyleBits();
        break;
    case kVerticalAlignment:
        p.VerticalAlignment = std::clamp(number32, 0, kHighestAlignment);
        ApplyStyleBits();
        break;
    case kFont:
        p.Font = value.bytes;
        if (m_widget)
            m_widget->setFont(FontOfBlock(p.Font));
        break;
    default:
        break;
    }
    return 0;
}

std::int32_t CButtonUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const ButtonProperties& p = m_properties;
    switch (number) {
    case kPicture: value->bytes = p.ButtonPicture; break;
    case kDefaultButton: value->number = p.DefaultButton; break;
    case kCaption: value->text = p.ButtonCaption; break;
    case kHorizontalAlignment: value->number = p.HorizontalAlignment; break;
    case kVerticalAlignment: value->number = p.VerticalAlignment; break;
    case kFont: value->bytes = p.Font; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CButtonUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
