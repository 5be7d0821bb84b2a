#include "units/listview/ListViewUnit.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>

#include <algorithm>

#include "platform/codepage/CodePage.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/BorderStyle.h"
#include "units/common/LiveUnits.h"
#include "units/common/LogFontBlock.h"
#include "units/common/UnitClass.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewDelegate.h"
#include "units/listview/ListViewIconWidget.h"
#include "units/listview/ListViewModel.h"
#include "units/listview/ListRowsDirectory.h"
#include "units/listview/ListViewRows.h"
#include "units/listview/ListViewStyles.h"
#include "units/listview/ListViewWidget.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "SysListView32";
constexpr std::int32_t kHighestSortOrder = 2;
constexpr std::int32_t kStateImageShift = 12;
constexpr std::int32_t kUncheckedBits = 1 << kStateImageShift;

enum ListViewProperty : std::int32_t {
    kBorderStyle = 0, kTextColour, kTextBackColour, kBackColour, kFont, kViewType, kIconAlignment, kAutoArrange,
    kLabelWrap, kColumns, kHideColumnHeader, kHeaderImages, kClickableHeader, kFullRowSelect, kGridLines,
    kHeaderDragDrop, kNormalImages, kStateImages, kHotTracking, kHandCursor, kUnderlineHot, kUnderlineCold,
    kEditLabels, kSortOrder, kCheckBoxes, kFlatScrollBars, kSingleSelection, kCurrentRow, kShowSelectionAlways,
    kInitialRows, kEditedText,
};

enum ListViewEvent : std::int32_t {
    kGotFocus = -7, kLostFocus = -8, kRowFocused = 0, kRowActivated, kColumnClicked, kRowHotTracked, kClicked,
    kRightClicked, kLabelEditStarting, kLabelEditEnded, kCheckChanged,
};

// The text colour is used as it stands; only the background colours know
// the button-face value.
QColor PlainColour(std::int32_t reference)
{
    auto value = static_cast<std::uint32_t>(reference);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

bool InIconView(const ListViewProperties& p)
{
    return ViewTypeOf(p) == 0 || ViewTypeOf(p) == 1;
}

bool InReportView(const ListViewProperties& p)
{
    return ViewTypeOf(p) == kReportView;
}

// A handler that answered false.
bool RefusedBy(const host::RaisedEvent& raised)
{
    return raised.hasResult && raised.result == 0;
}

}  // namespace

CListViewUnit* CListViewUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<ListViewProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CListViewUnit> unit(new CListViewUnit(arguments));
    unit->m_properties = std::move(*properties);
    unit->m_creationFlag = arguments.creationFlag;
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    unit->ApplyFont();
    unit->ApplyLook();
    unit->ApplyImages();
    unit->ApplyColours();
    ApplyBorderStyle(unit->Handle(), unit->m_properties.BorderStyle);
    unit->ApplyHotTracking();
    unit->LoadStoredRows();
    if (unit->m_properties.SingleSelection)
        unit->SelectCurrentRow(unit->m_properties.CurrentRow);
    unit->ConnectEvents();
    CListViewUnit* adopted = AdoptUnit(std::move(unit));
    if (adopted)
        RegisterListRows(adopted->m_formId, adopted->m_unitId, adopted->m_rows);
    return adopted;
}

CListViewUnit::~CListViewUnit()
{
    UnregisterListRows(m_formId, m_unitId, m_rows.get());
    *m_alive = false;
    // The widget outlives the unit a little (it is deleted later): nothing
    // of it may call back into the unit.
    for (const QMetaObject::Connection& connection : m_connections)
        QObject::disconnect(connection);
    if (m_view)
        m_hooks->ForgetUnit();
    if (m_model) {
        m_model->onCheckToggled = nullptr;
        m_model->onMakeVisible = nullptr;
    }
}

ListViewWidget* CListViewUnit::Widget() const
{
    return m_view ? m_widget : nullptr;
}

QAbstractItemView* CListViewUnit::View() const
{
    return m_view.data();
}

bool CListViewUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    std::unique_ptr<QAbstractItemView> widget;
    ListViewHooks* hooks = nullptr;
    if (InReportView(m_properties)) {
        auto table = std::make_unique<ListViewWidget>(*this, parentWidget);
        m_widget = table.get();
        hooks = table.get();
        widget = std::move(table);
    } else {
        auto icons = std::make_unique<ListViewIconWidget>(*this, parentWidget);
        m_icons = icons.get();
        hooks = icons.get();
        widget = std::move(icons);
    }
    auto* model = new ListViewModel(m_rows, widget.get());  // owned by the widget
    widget->setModel(model);
    m_delegate = new ListViewDelegate(widget.get());  // owned by the widget
    widget->setItemDelegate(m_delegate);
    ListViewStyles styles = StylesOf(m_properties);
    DWORD style = arguments.baseStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | styles.style;
    HWND window = ui::AttachWidgetWindow(widget.get(), kClassName, style & ~WS_VISIBLE, 0, nullptr,
                                         arguments.controlId);
    if (!window)
        return false;
    m_model = model;
    m_hooks = hooks;
    m_view = widget.release();  // the window owns its widget now
    m_exStyle = styles.exStyle;
    Attach(window);
    const RECT& r = arguments.rect;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CListViewUnit::ApplyLook()
{
    const ListViewProperties& p = m_properties;
    ListViewLook look;
    if (InReportView(p)) {
        auto columns = ParseListViewColumns(p.Columns);
        if (columns)
            look.columns = std::move(*columns);
    }
    look.checkBoxes = p.CheckBoxes != 0;
    look.editLabels = p.EditLabels != 0;
    look.textColour = PlainColour(p.TextColour);
    look.textBackColour = ColourOfReference(p.TextBackColour);
    {
        SharedListRows::Access rows = m_rows->Lock();
        rows.Rows().SetColumnCount(static_cast<std::int32_t>(look.columns.size()));
        rows.Rows().SetOrder(static_cast<RowOrder>(std::clamp(p.SortOrder, 0, kHighestSortOrder)));
    }
    m_rows->SetCheckBoxes(p.CheckBoxes != 0);
    std::vector<std::int32_t> widths;
    for (const ListViewColumn& column : look.columns)
        widths.push_back(column.Width);
    m_model->SetLook(std::move(look));

    if (m_widget) {
        QHeaderView* header = m_widget->header();
        bool headerShown = !p.HideColumnHeader;
        header->setVisible(headerShown);
        header->setSectionsClickable(headerShown && p.ClickableHeader);
        header->setSectionsMovable(headerShown && p.HeaderDragDrop);
        for (std::size_t i = 0; i < widths.size(); ++i)
            header->resizeSection(static_cast<int>(i), std::max(widths[i], 0));
        m_widget->setAllColumnsShowFocus(p.FullRowSelect != 0);
        m_widget->SetGridLines(p.GridLines != 0);
    } else {
        m_icons->ApplyLayout(p);
    }
    m_view->setSelectionMode(p.SingleSelection ? QAbstractItemView::SingleSelection
                                               : QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(p.EditLabels ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                                         : QAbstractItemView::NoEditTriggers);
}

void CListViewUnit::ApplyImages()
{
    const ListViewProperties& p = m_properties;
    ListViewImages images;
    images.rows = ImageListOfBlob(p.NormalImages);
    images.states = ImageListOfBlob(p.StateImages);
    // The header has its images in the report view only.
    if (InReportView(p))
        images.headers = ImageListOfBlob(p.HeaderImages);
    if (images.rows.Count() > 0)
        m_view->setIconSize(images.rows.size);
    m_model->SetImages(std::move(images));
    m_view->viewport()->update();
}

void CListViewUnit::ApplyColours()
{
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, ColourOfReference(m_properties.BackColour));
    palette.setColor(QPalette::Text, PlainColour(m_properties.TextColour));
    m_view->setPalette(palette);
    m_model->SetColours(PlainColour(m_properties.TextColour), ColourOfReference(m_properties.TextBackColour));
}

void CListViewUnit::ApplyFont()
{
    m_view->setFont(FontOfBlock(m_properties.Font));
}

void CListViewUnit::ApplyHotTracking()
{
    bool on = m_properties.HotTracking != 0;
    m_view->setMouseTracking(on);
    m_view->viewport()->setCursor(on && m_properties.HandCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
    m_delegate->SetUnderlines({on, m_properties.UnderlineHot != 0, m_properties.UnderlineCold != 0});
}

void CListViewUnit::ConnectEvents()
{
    m_connections.push_back(QObject::connect(
        m_view->selectionModel(), &QItemSelectionModel::currentChanged, m_view, [this](const QModelIndex& current) {
            if (!current.isValid()) {
                m_focusedRow = -1;
                return;
            }
            if (current.row() == m_focusedRow)
                return;
            m_focusedRow = current.row();
            Raise(kRowFocused);
        }));
    m_connections.push_back(
        QObject::connect(m_view, &QAbstractItemView::activated, m_view, [this] { Raise(kRowActivated); }));
    // With hot tracking one click activates a row.
    m_connections.push_back(QObject::connect(m_view, &QAbstractItemView::clicked, m_view, [this] {
        bool singleClickActivates = m_view->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick,
                                                               nullptr, m_view) != 0;
        if (m_properties.HotTracking && !singleClickActivates)
            Raise(kRowActivated);
    }));
    if (m_widget)
        m_connections.push_back(QObject::connect(m_widget->header(), &QHeaderView::sectionClicked, m_view,
                                                 [this](int column) { Raise(kColumnClicked, {column}); }));
    m_connections.push_back(
        QObject::connect(m_view, &QAbstractItemView::entered, m_view, [this](const QModelIndex& index) {
            if (m_properties.HotTracking && index.isValid())
                Raise(kRowHotTracked, {index.row()});
        }));
    HWND window = Handle();
    m_model->onCheckToggled = [window](std::int32_t row) {
        PostMessageA(window, kMessageCheckToggled, static_cast<WPARAM>(row), 0);
    };
    m_model->onMakeVisible = [this](std::int32_t row) {
        m_view->scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
    };
}

void CListViewUnit::LoadStoredRows()
{
    m_model->Clear();
    auto records = ParseListViewRows(m_properties.InitialRows);
    if (!records)
        return;
    bool report = InReportView(m_properties);
    const ListViewImages& images = m_model->Images();
    std::int32_t current = -1;
    std::int32_t nextCell = 1;
    std::optional<SharedListRows::Access> lock(m_rows->Lock());
    ListViewRowStore& stored = lock->Rows();
    for (const ListViewRowRecord& record : *records) {
        if (record.Kind == 0) {
            ListViewRow row;
            row.Cells.front().Text = record.Text;
            row.Cells.front().ImageIndex = images.rows.Has(record.ImageIndex) ? record.ImageIndex : -1;
            row.ItemData = record.ItemData;
            if (images.states.Has(record.StateImageIndex))
                row.StateBits = (record.StateImageIndex + 1) << kStateImageShift;
            else
                row.StateBits = m_properties.CheckBoxes ? kUncheckedBits : 0;
            row.Indent = report ? std::max(record.Indent, 0) : 0;
            row.TipText = record.TipText;
            current = stored.Insert(stored.Count(), std::move(row));
            nextCell = 1;
        } else if (ListViewCell* cell = stored.Cell(current, nextCell++)) {
            cell->Text = record.Text;
            cell->ImageIndex = std::max(record.ImageIndex, -1);
        }
    }
    lock.reset();  // not held while the view catches up
    m_model->Flush();
}

std::int32_t CListViewUnit::FirstSelectedRow() const
{
    const QItemSelectionModel* selection = m_view ? m_view->selectionModel() : nullptr;
    if (!selection)
        return -1;
    std::int32_t first = -1;
    for (const QItemSelectionRange& range : selection->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return first;
}

void CListViewUnit::SelectCurrentRow(std::int32_t row)
{
    m_model->Flush();
    QItemSelectionModel* selection = m_view->selectionModel();
    if (row >= 0) {
        if (row < m_model->PublishedRows())
            selection->setCurrentIndex(m_model->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    std::int32_t first = FirstSelectedRow();
    if (first < 0)
        return;
    selection->select(m_model->index(first, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    if (selection->currentIndex().row() == first)
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

std::optional<host::RaisedEvent> CListViewUnit::Raise(std::int32_t event, std::initializer_list<std::int32_t> arguments)
{
    std::shared_ptr<bool> alive = m_alive;
    host::RaisedEvent raised = host::RaiseEvent(m_formId, m_unitId, event, arguments);
    if (!*alive)
        return std::nullopt;
    return raised;
}

// The commands.

std::int32_t CListViewUnit::InsertRow(const NewRow& request)
{
    return m_model->InsertRow(request);
}

bool CListViewUnit::SetCell(CellField field, std::int32_t row, std::int32_t column, std::int32_t number,
                            std::string_view text)
{
    if (!m_rows->SetCell(field, row, column, number, text))
        return false;
    if (field == CellField::Image && number < 0)
        m_view->viewport()->update();
    m_model->Schedule();
    return true;
}

std::optional<std::string> CListViewUnit::CellText(std::int32_t row, std::int32_t column) const
{
    return m_rows->CellText(row, column);
}

std::optional<std::int32_t> CListViewUnit::CellNumber(CellField field, std::int32_t row, std::int32_t column) const
{
    return m_rows->CellNumber(field, row, column);
}

void CListViewUnit::DeleteAllRows()
{
    m_model->Clear();
}

void CListViewUnit::EnsureRowVisible(std::int32_t row)
{
    if (m_rows->RequestVisible(row))
        m_model->Schedule();
}

void CListViewUnit::FlushView()
{
    m_model->Flush();
}

void CListViewUnit::ViewNotice()
{
    m_model->Schedule();
}

void CListViewUnit::PostNcDestroy()
{
    // From here on workers reach the unit the way they reach a unit that
    // does not exist.
    UnregisterListRows(m_formId, m_unitId, m_rows.get());
    UnitObject::PostNcDestroy();  // deletes this
}

// Events from the widget.

void CListViewUnit::Clicked(bool right)
{
    Raise(right ? kRightClicked : kClicked);
}

bool CListViewUnit::LabelEditStarting(std::int32_t row)
{
    auto raised = Raise(kLabelEditStarting, {row});
    return raised && !RefusedBy(*raised);
}

bool CListViewUnit::LabelEditEnded(std::int32_t row, const QString& text, bool abandoned)
{
    if (abandoned)
        m_editedText = CellText(row, 0).value_or(std::string());
    else
        m_editedText = codepage::Utf16ToGbk(text.toStdU16String());
    auto raised = Raise(kLabelEditEnded, {row});
    if (!raised)
        return false;
    m_editedText.clear();
    return !abandoned && !RefusedBy(*raised);
}

LRESULT CListViewUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        std::shared_ptr<bool> alive = m_alive;
        Raise(message == WM_SETFOCUS ? kGotFocus : kLostFocus);
        return *alive ? WindowObject::WindowProc(message, wParam, lParam) : 0;
    }
    case WM_GETDLGCODE: {
        // While a label is edited every key belongs to the editor: Enter
        // takes the text, Esc gives it up.
        bool editing = m_view && m_hooks->EditingLabel();
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (editing ? DLGC_WANTALLKEYS : 0);
    }
    case ui::kMessageBeforeSnapshot:
        FlushView();
        return 0;
    case kMessageCheckToggled: {
        auto row = static_cast<std::int32_t>(wParam);
        if (std::optional<std::int32_t> stateImage = m_rows->StateImage(row))
            Raise(kCheckChanged, {row, *stateImage});
        return 0;
    }
    default:
        return WindowObject::WindowProc(message, wParam, lParam);
    }
}

// Properties.

std::int32_t CListViewUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    ListViewProperties& p = m_properties;
    bool report = InReportView(p);
    switch (number) {
    case kBorderStyle:
        p.BorderStyle = std::clamp(number32, 0, kHighestBorderStyle);
        ApplyBorderStyle(Handle(), p.BorderStyle);
        return 0;
    case kTextColour: p.TextColour = number32; ApplyColours(); return 0;
    case kTextBackColour: p.TextBackColour = number32; ApplyColours(); return 0;
    case kBackColour: p.BackColour = number32; ApplyColours(); return 0;
    case kFont: p.Font = value.bytes; ApplyFont(); return 0;
    case kViewType: p.ViewType = std::clamp(number32, 0, kReportView); return 1;
    case kIconAlignment: p.IconAlignment = std::clamp(number32, 0, 1); return InIconView(p) ? 1 : 0;
    case kAutoArrange: p.AutoArrange = number32; return InIconView(p) ? 1 : 0;
    case kLabelWrap: {
        p.LabelWrap = number32;
        if (InIconView(p)) {
            auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
            style = p.LabelWrap ? style & ~LVS_NOLABELWRAP : style | LVS_NOLABELWRAP;
            SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
            if (m_icons && m_view)
                m_icons->ApplyLayout(p);
        }
        return 0;
    }
    case kColumns: p.Columns = value.bytes; return report ? 1 : 0;
    case kHideColumnHeader: {
        p.HideColumnHeader = number32;
        if (report) {
            auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
            style = p.HideColumnHeader ? style | LVS_NOCOLUMNHEADER : style & ~LVS_NOCOLUMNHEADER;
            SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
            if (m_widget)
                m_widget->header()->setVisible(!p.HideColumnHeader);
        }
        return 0;
    }
    case kHeaderImages: p.HeaderImages = value.bytes; ApplyImages(); return 0;
    case kClickableHeader: p.ClickableHeader = number32; return report ? 1 : 0;
    case kFullRowSelect: p.FullRowSelect = number32; return report ? 1 : 0;
    case kGridLines: p.GridLines = number32; return report ? 1 : 0;
    case kHeaderDragDrop: p.HeaderDragDrop = number32; return report ? 1 : 0;
    case kNormalImages: p.NormalImages = value.bytes; ApplyImages(); return 0;
    case kStateImages: p.StateImages = value.bytes; ApplyImages(); return 0;
    case kHotTracking: p.HotTracking = number32; return 1;
    case kHandCursor: p.HandCursor = number32; return p.HotTracking ? 1 : 0;
    case kUnderlineHot: p.UnderlineHot = number32; return p.HotTracking ? 1 : 0;
    case kUnderlineCold: p.UnderlineCold = number32; return p.HotTracking ? 1 : 0;
    case kEditLabels: p.EditLabels = number32; return 1;
    case kSortOrder: p.SortOrder = std::clamp(number32, 0, kHighestSortOrder); return 1;
    case kCheckBoxes: p.CheckBoxes = number32; return 1;
    case kFlatScrollBars: p.FlatScrollBars = number32; return 1;
    case kSingleSelection: p.SingleSelection = number32; return 1;
    case kCurrentRow:
        p.CurrentRow = std::max(number32, -1);
        SelectCurrentRow(p.CurrentRow);
        return 0;
    case kShowSelectionAlways: p.ShowSelectionAlways = number32; return 1;
    case kInitialRows: p.InitialRows = value.bytes; LoadStoredRows(); return 0;
    default:
        return 0;  // EditedText is read only
    }
}

std::int32_t CListViewUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const ListViewProperties& p = m_properties;
    switch (number) {
    case kBorderStyle: value->number = p.BorderStyle; break;
    case kTextColour: value->number = p.TextColour; break;
    case kTextBackColour: value->number = p.TextBackColour; break;
    case kBackColour: value->number = p.BackColour; break;
    case kFont: value->bytes = p.Font; break;
    case kViewType: value->number = p.ViewType; break;
    case kIconAlignment: value->number = p.IconAlignment; break;
    case kAutoArrange: value->number = p.AutoArrange; break;
    case kLabelWrap: value->number = p.LabelWrap; break;
    case kColumns: value->bytes = p.Columns; break;
    case kHideColumnHeader: value->number = p.HideColumnHeader; break;
    case kHeaderImages: value->bytes = p.HeaderImages; break;
    case kClickableHeader: value->number = p.ClickableHeader; break;
    case kFullRowSelect: value->number = p.FullRowSelect; break;
    case kGridLines: value->number = p.GridLines; break;
    case kHeaderDragDrop: value->number = p.HeaderDragDrop; break;
    case kNormalImages: value->bytes = p.NormalImages; break;
    case kStateImages: value->bytes = p.StateImages; break;
    case kHotTracking: value->number = p.HotTracking; break;
    case kHandCursor: value->number = p.HandCursor; break;
    case kUnderlineHot: value->number = p.UnderlineHot; break;
    case kUnderlineCold: value->number = p.UnderlineCold; break;
    case kEditLabels: value->number = p.EditLabels; break;
    case kSortOrder: value->number = p.SortOrder; break;
    case kCheckBoxes: value->number = p.CheckBoxes; break;
    case kFlatScrollBars: value->number = p.FlatScrollBars; break;
    case kSingleSelection: value->number = p.SingleSelection; break;
    case kCurrentRow: value->number = m_creationFlag ? p.CurrentRow : FirstSelectedRow(); break;
    case kShowSelectionAlways: value->number = p.ShowSelectionAlways; break;
    case kInitialRows: value->bytes = p.InitialRows; break;
    case kEditedText: value->text = m_editedText; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CListViewUnit::Save() const
{
    return SaveRecord(m_properties);
}

}  // namespace vellumry::units
