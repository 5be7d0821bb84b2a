#include "units/listview/ListViewColumns.h"

namespace vellumry::units {
namespace {

using C = ListViewColumn;

constexpr RecordField<C> kFields[] = {
    {"ImageOnRight", &C::ImageOnRight},
    {"ImageIndex", &C::ImageIndex},
    {"Alignment", &C::Alignment},
    {"Width", &C::Width},
    ZeroTerminatedText<C>("Title", &C::Title),
};

constexpr RecordLayout<C> kLayout{"ListViewColumn", 0, kFields, false};

}  // namespace

template <>
const RecordLayout<ListViewColumn>& LayoutOf<ListViewColumn>()
{
    return kLayout;
}

std::optional<std::vector<ListViewColumn>> ParseListViewColumns(std::span<const std::uint8_t> block)
{
    return LoadRecordList<ListViewColumn>(block, ListForm::ToTheEnd);
}

std::vector<std::uint8_t> WriteListViewColumns(std::span<const ListViewColumn> columns)
{
    return SaveRecordList(columns, ListForm::ToTheEnd);
}

}  // namespace vellumry::units
