#include "units/statusbar/StatusBarUnit.h"
#include "units/statusbar/StatusTextObserver.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <memory>

#include "platform/codepage/CodePage.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/LiveUnits.h"
#include "units/common/LogFontBlock.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitHost.h"
#include "units/statusbar/StatusBarLayout.h"
#include "units/statusbar/StatusBarWidget.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "msctls_statusbar32";

enum StatusBarProperty : std::int32_t { kBackColour = 0, kBarPosition, kSizeGrip, kFont, kPartImages, kParts };

// The gap between parts and the text's inset within its part.
constexpr int kPartGap = 2;
constexpr int kTextInset = 3;
constexpr int kGripSize = 12;

QString ToQString(std::string_view gbk)
{
    std::u16string utf16 = codepage::GbkToUtf16(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

}  // namespace

CStatusBarUnit* CStatusBarUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<StatusBarProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CStatusBarUnit> unit(new CStatusBarUnit(arguments));
    unit->m_properties = std::move(*properties);
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    unit->ApplyFont();
    unit->RefreshParts();
    return AdoptUnit(std::move(unit));
}

CStatusBarUnit::~CStatusBarUnit()
{
    if (auto* widget = static_cast<StatusBarWidget*>(m_widget.data()))
        widget->ForgetUnit();
}

bool CStatusBarUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    auto widget = std::make_unique<StatusBarWidget>(*this, parentWidget);
    DWORD style = arguments.baseStyle | WS_CHILD | StatusBarStyle(m_properties);
    HWND window = ui::AttachWidgetWindow(widget.get(), kClassName, style & ~WS_VISIBLE, 0, nullptr,
                                         arguments.controlId);
    if (!window)
        return false;
    m_widget = widget.release();  // the window owns its widget now
    Attach(window);
    const RECT& r = arguments.rect;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    AlignToParent();
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CStatusBarUnit::AlignToParent()
{
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    HWND parent = GetParent(Handle());
    RECT parentClient{};
    if ((style & CCS_NOPARENTALIGN) != 0 || !parent || !GetClientRect(parent, &parentClient))
        return;
    RECT own{};
    GetClientRect(Handle(), &own);
    int height = own.bottom - own.top;
    int top = (style & CCS_BOTTOM) == CCS_TOP ? 0 : parentClient.bottom - height;
    MoveWindow(Handle(), 0, top, parentClient.right, height, TRUE);
}

void CStatusBarUnit::ApplyFont()
{
    if (m_widget)
        m_widget->setFont(FontOfBlock(m_properties.Font));
}

void CStatusBarUnit::RefreshParts()
{
    // A block that does not hold whole parts shows none.
    auto parts = ParseStatusBarParts(m_properties.Parts);
    m_parts = parts ? std::move(*parts) : std::vector<StatusBarPart>();
    m_edges = PartEdges(m_parts);
    InvalidateRect(Handle(), nullptr, FALSE);
}

bool CStatusBarUnit::SetPart(PartField field, std::int32_t index, std::int32_t number, std::string_view text)
{
    if (index < 0 || index >= static_cast<std::int32_t>(m_parts.size()))
        return false;
    StatusBarPart& part = m_parts[static_cast<std::size_t>(index)];
    const bool textChanged = field == PartField::Text && part.Text != text;
    switch (field) {
    case PartField::Text: part.Text = text; break;
    case PartField::TipText: part.TipText = text; break;
    case PartField::Width: part.Width = number; break;
    case PartField::Style: part.Style = number; break;
    case PartField::Image: part.ImageIndex = number; break;
    }
    // The block is what the unit saves: it follows every change.
    m_properties.Parts = WriteStatusBarParts(m_parts);
    m_edges = PartEdges(m_parts);
    InvalidateRect(Handle(), nullptr, FALSE);
    // Last: the observer may end the unit.
    if (textChanged)
        NotifyStatusText(m_formId, m_unitId, index, std::string(text));
    return true;
}

std::int32_t CStatusBarUnit::PartAt(int x) const
{
    int left = 0;
    int width = m_widget ? m_widget->width() : 0;
    for (std::size_t i = 0; i < m_edges.size(); ++i) {
        int right = m_edges[i] == -1 ? width : m_edges[i];
        if (x >= left && x < right)
            return static_cast<std::int32_t>(i);
        if (m_edges[i] == -1)
            break;
        left = right;
    }
    return -1;
}

void CStatusBarUnit::Paint(QPainter& painter)
{
    if (!m_widget)
        return;
    QRect all = m_widget->rect();
    painter.fillRect(all, ColourOfReference(m_properties.BackColour));
    painter.setFont(m_widget->font());
    QPalette palette = m_widget->palette();
    int left = 0;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        int right = m_edges[i] == -1 ? all.width() : m_edges[i];
        if (right <= left)
            continue;  // a part without width, such as those after the one reaching the right edge
        QRect box(left, all.top() + kPartGap, right - left - kPartGap, all.height() - 2 * kPartGap);
        const StatusBarPart& part = m_parts[i];
        if ((part.Style & SBT_NOBORDERS) == 0) {
            bool raised = (part.Style & SBT_POPOUT) != 0;
            painter.setPen(raised ? palette.color(QPalette::Light) : palette.color(QPalette::Dark));
            painter.drawLine(box.topLeft(), box.topRight());
            painter.drawLine(box.topLeft(), box.bottomLeft());
            painter.setPen(raised ? palette.color(QPalette::Dark) : palette.color(QPalette::Light));
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomRight());
        }
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawText(box.adjusted(kTextInset, 0, -kTextInset, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         ToQString(part.Text));
        if (m_edges[i] == -1)
            break;
        left = right;
    }
    if (m_properties.SizeGrip) {
        QStyleOption option;
        option.initFrom(m_widget);
        option.rect = QRect(all.right() - kGripSize, all.bottom() - kGripSize, kGripSize, kGripSize);
        m_widget->style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, m_widget);
    }
}

std::int32_t CStatusBarUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    StatusBarProperties& p = m_properties;
    switch (number) {
    case kBackColour:
        p.BackColour = number32;
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case kBarPosition:
        p.BarPosition = std::clamp(number32, 0, kHighestBarPosition);
        return 1;
    case kSizeGrip:
        p.SizeGrip = number32;
        return 1;
    case kFont:
        p.Font = value.bytes;
        ApplyFont();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case kPartImages:
        p.PartImages = value.bytes;
        RefreshParts();
        return 0;
    case kParts:
        p.Parts = value.bytes;
        RefreshParts();
        return 0;
    default:
        return 0;
    }
}

std::int32_t CStatusBarUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const StatusBarProperties& p = m_properties;
    switch (number) {
    case kBackColour: value->number = p.BackColour; break;
    case kBarPosition: value->number = p.BarPosition; break;
    case kSizeGrip: value->number = p.SizeGrip; break;
    case kFont: value->bytes = p.Font; break;
    case kPartImages: value->bytes = p.PartImages; break;
    case kParts: value->bytes = p.Parts; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CStatusBarUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
