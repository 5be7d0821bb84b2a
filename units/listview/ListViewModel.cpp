#include "units/listview/ListViewModel.h"

#include <algorithm>

#include "platform/codepage/CodePage.h"

namespace vellumry::units {
namespace {

constexpr std::int32_t kStateImageShift = 12;
constexpr std::int32_t kStateImageMask = 0xF000;
constexpr std::int32_t kCheckedBits = 2 << kStateImageShift;
constexpr std::int32_t kUncheckedBits = 1 << kStateImageShift;

QString ToQString(std::string_view gbk)
{
    std::u16string utf16 = codepage::GbkToUtf16(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

Qt::Alignment AlignmentOf(std::int32_t alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignHCenter | Qt::AlignVCenter;
    case 2: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

ListViewModel::ListViewModel(std::shared_ptr<SharedListRows> rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows))
{
    m_batch.setSingleShot(true);
    m_batch.setInterval(kBatchMilliseconds);
    QObject::connect(&m_batch, &QTimer::timeout, this, [this] { Flush(); });
}

void ListViewModel::SetLook(ListViewLook look)
{
    Flush();
    beginResetModel();
    m_look = std::move(look);
    endResetModel();
}

void ListViewModel::SetColours(QColor text, QColor textBack)
{
    m_look.textColour = text;
    m_look.textBackColour = textBack;
    EverythingChanged();
}

void ListViewModel::SetImages(ListViewImages images)
{
    m_images = std::move(images);
    EverythingChanged();
    if (!m_look.columns.empty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_look.columns.size()) - 1);
}

void ListViewModel::Schedule()
{
    if (!m_batch.isActive())
        m_batch.start();
}

std::int32_t ListViewModel::InsertRow(const NewRow& request)
{
    Flush();
    std::int32_t row = 0;
    bool toldAtOnce = false;
    {
        SharedListRows::Access rows = m_rows->Lock();
        // A worker may have emptied the list or inserted before the end since
        // the flush: then the view starts afresh anyway.
        const bool restartDue = rows.Changes().restart;
        row = m_rows->InsertRow(request);
        // Told at once, so the view keeps its selection: it needs no fresh
        // start for this row.
        toldAtOnce = row < m_published && !restartDue;
        if (toldAtOnce) {
            ViewChanges& changes = rows.Changes();
            changes.restart = false;
            // Cells a worker changed since the flush moved down a row with
            // the rows after this one.
            if (changes.firstChanged <= changes.lastChanged) {
                changes.Changed(row);
                changes.Changed(rows.Rows().Count() - 1);
            }
        }
    }
    // The lock is not held while the view hears of the row: what it does in
    // answer may raise events, whose handlers may stop a worker that waits
    // for the lock.
    if (toldAtOnce) {
        beginInsertRows(QModelIndex(), row, row);
        ++m_published;
        endInsertRows();
    } else {
        Schedule();  // among the rows the view has not been told of yet
    }
    return row;
}

void ListViewModel::EverythingChanged()
{
    Flush();
    if (m_published > 0)
        emit dataChanged(index(0, 0), index(m_published - 1, columnCount() - 1));
}

void ListViewModel::Clear()
{
    m_batch.stop();
    beginResetModel();
    {
        SharedListRows::Access rows = m_rows->Lock();
        m_rows->Clear();
        m_rows->TakeViewChanges();
        m_published = 0;
    }
    endResetModel();
}

void ListViewModel::Flush()
{
    ViewChanges changes;
    std::int32_t count = 0;
    {
        SharedListRows::Access rows = m_rows->Lock();
        changes = m_rows->TakeViewChanges();
        count = rows.Rows().Count();
    }
    CatchUp(changes, count);
}

void ListViewModel::CatchUp(const ViewChanges& changes, std::int32_t rows)
{
    m_batch.stop();
    if (changes.restart) {
        beginResetModel();
        m_published = rows;
        endResetModel();
    } else if (m_published < rows) {
        beginInsertRows(QModelIndex(), m_published, rows - 1);
        m_published = rows;
        endInsertRows();
    }
    if (!changes.restart && changes.firstChanged <= changes.lastChanged) {
        std::int32_t last = std::min(changes.lastChanged, m_published - 1);
        if (changes.firstChanged <= last)
            emit dataChanged(index(changes.firstChanged, 0), index(last, columnCount() - 1));
    }
    std::int32_t visible = changes.makeVisible;
    if (visible >= 0 && visible < m_published && onMakeVisible)
        onMakeVisible(visible);
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_published;
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max<int>(1, m_rows->Lock().Rows().ColumnCount());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    SharedListRows::Access rows = m_rows->Lock();
    const ListViewRow* row = rows.Rows().Row(index.row());
    if (!row || index.row() >= m_published)
        return {};
    auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return column < row->Cells.size() ? ToQString(row->Cells[column].Text) : QString();
    case Qt::TextAlignmentRole:
        return column < m_look.columns.size() ? QVariant(AlignmentOf(m_look.columns[column].Alignment)) : QVariant();
    case Qt::DecorationRole: {
        QImage image = column < row->Cells.size() ? m_images.rows.At(row->Cells[column].ImageIndex) : QImage();
        // Check boxes take the place of the state images.
        if (column == 0 && !m_look.checkBoxes)
            image = StateAndRowImage(m_images.states.At(((row->StateBits & kStateImageMask) >> kStateImageShift) - 1), image);
        return image.isNull() ? QVariant() : QVariant(image);
    }
    case Qt::CheckStateRole:
        if (!m_look.checkBoxes || column != 0)
            return {};
        return row->StateBits == kCheckedBits ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
        return row->TipText.empty() ? QVariant() : QVariant(ToQString(row->TipText));
    case Qt::ForegroundRole:
        return QBrush(m_look.textColour);
    case Qt::BackgroundRole:
        return QBrush(m_look.textBackColour);
    default:
        return {};
    }
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (index.row() >= m_published)
        return false;
    if (role == Qt::CheckStateRole && m_look.checkBoxes && index.column() == 0) {
        {
            SharedListRows::Access rows = m_rows->Lock();
            ListViewRow* row = rows.Rows().Row(index.row());
            if (!row)
                return false;
            row->StateBits = value.toInt() == Qt::Checked ? kCheckedBits : kUncheckedBits;
        }
        emit dataChanged(index, index);
        if (onCheckToggled)
            onCheckToggled(index.row());
        return true;
    }
    if (role == Qt::EditRole && index.column() == 0) {
        std::string text = codepage::Utf16ToGbk(value.toString().toStdU16String());
        if (!m_rows->SetCell(CellField::Text, index.row(), 0, 0, text))
            return false;
        emit dataChanged(index, index);
        return true;
    }
    return false;
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == 0 && m_look.editLabels)
        flags |= Qt::ItemIsEditable;
    if (index.column() == 0 && m_look.checkBoxes)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || static_cast<std::size_t>(section) >= m_look.columns.size())
        return {};
    const ListViewColumn& column = m_look.columns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole)
        return ToQString(column.Title);
    if (role == Qt::TextAlignmentRole)
        return QVariant(AlignmentOf(column.Alignment));
    if (role == Qt::DecorationRole && m_images.headers.Has(column.ImageIndex))
        return m_images.headers.At(column.ImageIndex);
    return {};
}

}  // namespace vellumry::units
