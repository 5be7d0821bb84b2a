#include "units/listview/ListViewRows.h"

namespace vellumry::units {
namespace {

using R = ListViewRowRecord;

constexpr RecordField<R> kFields[] = {
    {"Kind", &R::Kind},
    {"ImageIndex", &R::ImageIndex},
    {"StateImageIndex", &R::StateImageIndex},
    {"Indent", &R::Indent},
    {"ItemData", &R::ItemData},
    ZeroTerminatedText<R>("Text", &R::Text),
    ZeroTerminatedText<R>("TipText", &R::TipText),
};

constexpr RecordLayout<R> kLayout{"ListViewRowRecord", 0, kFields, false};

}  // namespace

template <>
const RecordLayout<ListViewRowRecord>& LayoutOf<ListViewRowRecord>()
{
    return kLayout;
}

std::optional<std::vector<ListViewRowRecord>> ParseListViewRows(std::span<const std::uint8_t> block)
{
    return LoadRecordList<ListViewRowRecord>(block, ListForm::ToTheEnd);
}

std::vector<std::uint8_t> WriteListViewRows(std::span<const ListViewRowRecord> rows)
{
    return SaveRecordList(rows, ListForm::ToTheEnd);
}

}  // namespace vellumry::units
