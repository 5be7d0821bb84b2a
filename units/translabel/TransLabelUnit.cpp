#include "units/translabel/TransLabelUnit.h"

#include <QPainter>

#include <algorithm>
#include <memory>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/ControlStyles.h"
#include "units/common/DisplayText.h"
#include "units/common/LiveUnits.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitFont.h"
#include "units/common/UnitHost.h"
#include "units/translabel/SeeThroughRepaint.h"
#include "units/translabel/TransLabelWidget.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "_QV_TransLabel";
constexpr std::int32_t kHighestEffect = 3;
constexpr std::int32_t kHighestAlignment = 2;

enum TransLabelProperty : std::int32_t {
    kCaption = 0, kTextEffect, kFont, kTextColour, kHorizontalAlignment, kWordWrap, kVerticalAlignment,
};

enum TextEffect : std::int32_t { kPlain = 0, kWhiteBelow, kWhiteAbove, kBlackShadow };

int AlignmentFlags(const TransLabelProperties& p)
{
    int flags = Qt::TextShowMnemonic;  // "&x" underlines x and "&&" shows "&"
    switch (p.HorizontalAlignment) {
    case 1: flags |= Qt::AlignHCenter; break;
    case 2: flags |= Qt::AlignRight; break;
    default: flags |= Qt::AlignLeft; break;
    }
    // Wrapped text is always centred vertically; one line goes where the
    // vertical alignment says.
    if (p.WordWrap == 1)
        return flags | Qt::TextWordWrap | Qt::AlignVCenter;
    switch (p.VerticalAlignment) {
    case 1: return flags | Qt::AlignVCenter;
    case 2: return flags | Qt::AlignBottom;
    default: return flags | Qt::AlignTop;
    }
}

}  // namespace

const char* CTransLabelUnit::ClassName()
{
    return kClassName;
}

CTransLabelUnit* CTransLabelUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<TransLabelProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CTransLabelUnit> unit(new CTransLabelUnit(arguments));
    unit->m_properties = std::move(*properties);
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    return AdoptUnit(std::move(unit));
}

CTransLabelUnit::~CTransLabelUnit()
{
    if (m_widget)
        m_widget->ForgetUnit();
}

bool CTransLabelUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    auto widget = std::make_unique<TransLabelWidget>(*this, parentWidget);
    TransLabelWidget* widgetOfWindow = widget.get();
    DWORD style = arguments.baseStyle | WS_CHILD | WS_CLIPSIBLINGS;
    if (!AttachWidget(std::move(widget), kClassName, style, WS_EX_TRANSPARENT, arguments))
        return false;
    m_widget = widgetOfWindow;
    HWND window = Handle();
    SetWindowTextA(window, m_properties.Caption.c_str());
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CTransLabelUnit::Paint(QPainter& painter)
{
    const TransLabelProperties& p = m_properties;
    if (p.Caption.empty() || !m_widget)
        return;
    QString text = DisplayText(p.Caption);
    if (p.WordWrap != 1) {
        // One line: line breaks do not break it.
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    painter.setFont(FontOfBlock(p.Font));
    QRect area = m_widget->rect();
    int flags = AlignmentFlags(p);
    auto draw = [&](QColor colour, int offset) {
        painter.setPen(colour);
        painter.drawText(area.translated(offset, offset), flags, text);
    };
    QColor colour = ColourOfReference(p.TextColour);
    switch (p.TextEffect) {
    case kWhiteBelow:
        draw(Qt::white, 1);
        draw(colour, 0);
        break;
    case kWhiteAbove:
        draw(Qt::white, 0);
        draw(colour, 1);
        break;
    case kBlackShadow:
        draw(Qt::black, 2);
        draw(colour, 0);
        break;
    default:
        draw(colour, 0);
        break;
    }
}

LRESULT CTransLabelUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = WindowObject::WindowProc(message, wParam, lParam);
    // The new place shows what lies behind it once the move is handled.
    if (message == WM_MOVE)
        SeeThroughRepaint(Handle());
    return result;
}

std::int32_t CTransLabelUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    TransLabelProperties& p = m_properties;
    switch (number) {
    case kCaption:
        p.Caption = value.text;
        SetWindowTextA(Handle(), p.Caption.c_str());
        break;
    case kTextEffect: p.TextEffect = std::clamp(number32, 0, kHighestEffect); break;
    case kFont: p.Font = value.bytes; break;
    case kTextColour: p.TextColour = number32; break;
    case kHorizontalAlignment: p.HorizontalAlignment = std::clamp(number32, 0, kHighestAlignment); break;
    case kWordWrap: p.WordWrap = number32; break;
    case kVerticalAlignment: p.VerticalAlignment = std::clamp(number32, 0, kHighestAlignment); break;
    default:
        return 0;
    }
    SeeThroughRepaint(Handle());
    return 0;
}

std::int32_t CTransLabelUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const TransLabelProperties& p = m_properties;
    switch (number) {
    case kCaption: value->text = p.Caption; break;
    case kTextEffect: value->number = p.TextEffect; break;
    case kFont: value->bytes = p.Font; break;
    case kTextColour: value->number = p.TextColour; break;
    case kHorizontalAlignment: value->number = p.HorizontalAlignment; break;
    case kWordWrap: value->number = p.WordWrap; break;
    case kVerticalAlignment: value->number = p.VerticalAlignment; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CTransLabelUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
