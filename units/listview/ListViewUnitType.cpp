#include "units/listview/ListViewUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewProperties.h"
#include "units/listview/ListViewRows.h"
#include "units/listview/ListViewUnit.h"

namespace vellumry::units {
namespace {

ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent,
                         std::int32_t controlId, HMENU, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height, std::uint32_t formId, std::uint32_t unitId, std::int32_t flag,
                         std::int32_t)
{
    CListViewUnit::CreateArguments arguments;
    arguments.record = RecordBytes(data, length);
    arguments.baseStyle = style;
    arguments.parent = parent;
    arguments.controlId = controlId;
    arguments.rect = {left, top, left + width, top + height};
    arguments.formId = formId;
    arguments.unitId = unitId;
    arguments.creationFlag = flag != 0;
    return CListViewUnit::Create(arguments);
}

// The font's face name, each column title, each row record's text and tip.
void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<ListViewProperties>(RecordBytes(data, length));
    if (!record)
        return;
    VisitFontFaceName(record->Font, visit, context);
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
    .create = Create,
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
