#include "units/listview/ListViewUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/FontFaceName.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewProperties.h"
#include "units/listview/ListViewRows.h"
#include "units/listview/ListViewUnit.h"

namespace vellumry::units {
namespace {

// The font's face name, each column title, each row record's text and tip.
void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<ListViewProperties>(RecordBytes(data, length));
    if (!record)
        return;
    if (std::string face = FontFaceName(record->Font); !face.empty())
        visit(context, face.c_str());
    if (auto columns = ParseListViewColumns(record->Columns))
        for (const ListViewColumn& column : *columns)
            visit(context, column.Title.c_str());
    if (auto rows = ParseListViewRows(record->InitialRows))
        for (const ListViewRowRecord& row : *rows) {
            visit(context, row.Text.c_str());
            visit(context, row.TipText.c_str());
        }
}

constexpr forms::UnitType kListViewUnitType = {
    .create = UnitTypeRoutines<CListViewUnit>::Create,
    .writeProperty = UnitTypeRoutines<CListViewUnit>::Write,
    .saveProperties = UnitTypeRoutines<CListViewUnit>::Save,
    .readProperty = UnitTypeRoutines<CListViewUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallListViewUnitType()
{
    forms::InstallUnitType<kListViewUnitType>(runtime::kListViewType);
}

}  // namespace vellumry::units
