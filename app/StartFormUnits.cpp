#include "app/StartFormUnits.h"

#include "app/MainFormUnitIds.h"
#include "app/Settings.h"
#include "app/StartFormCalls.h"
#include "app/description/ProgramDescription.h"
#include "runtime/DataTypeTag.h"

namespace vellumry::app {
namespace {

using runtime::ExtendedUiCommand;
using runtime::TypedValue;

constexpr std::int32_t kStatusPart = 0;

forms::UnitId BoxId(EditBox box)
{
    switch (box) {
    case EditBox::StartPage:
        return kStartPageBoxId;
    case EditBox::EndPage:
        return kEndPageBoxId;
    case EditBox::PageAddress:
        return kPageAddressBoxId;
    case EditBox::SaveFolder:
        return kSaveFolderBoxId;
    }
    return 0;
}

TypedValue OnList(ExtendedUiCommand command, std::initializer_list<TypedValue> arguments = {})
{
    return CallUnitCommand(command, runtime::kListViewType, kReportListId, arguments);
}

TypedValue TextValue(const char* text)
{
    return TypedValue::OfPointer(runtime::kTextType, OrEmpty(text));
}

}  // namespace

OwnedText StartFormUnits::Content(EditBox box)
{
    return ReadTextProperty(BoxId(box), kContentProperty);
}

void StartFormUnits::SaveSettings()
{
    OwnedText file = ProgramSettingsPath();
    SaveEditBoxes(kStartFormId, kMainWindowId, file);
}

void StartFormUnits::SetStatusText(const char* text)
{
    CallUnitCommand(ExtendedUiCommand::SetPartText, runtime::kStatusBarType, kStatusBarId,
                    {TypedValue::OfInt(kStatusPart), TextValue(text)});
}

std::int32_t StartFormUnits::InsertRow()
{
    // Every optional argument left out: an empty row at the end.
    return OnList(ExtendedUiCommand::InsertRow).Int();
}

void StartFormUnits::SetCellText(std::int32_t row, std::int32_t column, const char* text)
{
    OnList(ExtendedUiCommand::SetCellText, {TypedValue::OfInt(row), TypedValue::OfInt(column), TextValue(text)});
}

OwnedText StartFormUnits::GetCellText(std::int32_t row, std::int32_t column)
{
    TypedValue text = OnList(ExtendedUiCommand::GetCellText, {TypedValue::OfInt(row), TypedValue::OfInt(column)});
    return OwnedText(text.Pointer<char>());
}

std::int32_t StartFormUnits::GetRowCount()
{
    return OnList(ExtendedUiCommand::GetRowCount).Int();
}

void StartFormUnits::EnsureRowVisible(std::int32_t row)
{
    OnList(ExtendedUiCommand::EnsureRowVisible, {TypedValue::OfInt(row)});
}

void StartFormUnits::DeleteAllRows()
{
    OnList(ExtendedUiCommand::DeleteAllRows);
}

}  // namespace vellumry::app
