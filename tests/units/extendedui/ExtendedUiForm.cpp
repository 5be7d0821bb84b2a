#include "tests/units/extendedui/ExtendedUiForm.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <vector>

#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "runtime/RuntimeHeap.h"
#include "units/ExtendedUiCommands.h"
#include "units/common/UnitHost.h"
#include "units/listview/ListViewUnitType.h"
#include "units/statusbar/StatusBarUnitType.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnitType.h"

namespace vellumry::test {

void ExtendedUiForm::SetUp()
{
    InstallTestUnitTypes();
    units::InstallWindowUnitType();
    units::InstallListViewUnitType();
    units::InstallStatusBarUnitType();
    units::InstallExtendedUiCommands();
    units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
    InstallTestHandlers();
    ClearJournal();
}

void ExtendedUiForm::TearDown()
{
    TearDownForms();
}

void ExtendedUiForm::Load(const units::ListViewProperties& list, const units::StatusBarProperties& bar,
                          std::vector<forms::EventBinding> listEvents)
{
    units::WindowProperties window;
    window.WindowBorder = 0;
    window.StartPosition = 0;
    // As in the program: Esc closes the form unless a unit keeps it.
    window.EscCloses = 1;
    auto specs = StandardUnits();
    specs.resize(1);
    units::Bytes windowRecord = units::SaveRecord(window);
    specs[0].content.assign(windowRecord.begin(), windowRecord.end());
    specs[0].position = {50, 50, 800, 440};

    units::Bytes listRecord = units::SaveRecord(list);
    TestUnitEntry listEntry{kListId, runtime::kListViewType, {24, 104, 759, 236}, forms::kUnitVisible,
                            std::move(listEvents), "", ""};
    listEntry.content.assign(listRecord.begin(), listRecord.end());
    specs.push_back(listEntry);

    units::Bytes barRecord = units::SaveRecord(bar);
    TestUnitEntry barEntry{kBarId, runtime::kStatusBarType, {0, 404, 719, 20}, forms::kUnitVisible, {}, "", ""};
    barEntry.content.assign(barRecord.begin(), barRecord.end());
    specs.push_back(barEntry);

    InstallTestForm(specs);
    ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    ASSERT_NE(List(), nullptr);
    ASSERT_NE(Bar(), nullptr);
}

units::CListViewUnit* ExtendedUiForm::List()
{
    return dynamic_cast<units::CListViewUnit*>(forms::ResolveUnit(kTestFormId, kListId));
}

units::CStatusBarUnit* ExtendedUiForm::Bar()
{
    return dynamic_cast<units::CStatusBarUnit*>(forms::ResolveUnit(kTestFormId, kBarId));
}

runtime::TypedValue ExtendedUiForm::Call(runtime::ExtendedUiCommand command, forms::UnitId unit,
                                         std::initializer_list<runtime::TypedValue> arguments)
{
    std::vector<runtime::TypedValue> all;
    runtime::TypedValue reference;
    reference.low = kTestFormId;
    reference.high = unit;
    reference.tag = unit == kListId ? runtime::kListViewType : runtime::kStatusBarType;
    all.push_back(reference);
    all.insert(all.end(), arguments.begin(), arguments.end());
    runtime::TypedValue result;
    runtime::ExtendedUiCommandSlot(command)(&result, static_cast<std::int32_t>(all.size()), all.data());
    return result;
}

std::string ExtendedUiForm::CellText(std::int32_t row, std::int32_t column, bool* null)
{
    runtime::TypedValue result = OnList(runtime::ExtendedUiCommand::GetCellText, {Int(row), Int(column)});
    EXPECT_EQ(result.tag, runtime::kTextType);
    char* text = result.Pointer<char>();
    if (null)
        *null = text == nullptr;
    std::string copy = text ? text : "";
    runtime::RuntimeFree(text);
    return copy;
}

std::int32_t ExtendedUiForm::RowCount()
{
    return OnList(runtime::ExtendedUiCommand::GetRowCount).Int();
}

void ExtendedUiForm::PumpOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

runtime::TypedValue Text(const std::string& text)
{
    return runtime::TypedValue::OfPointer(runtime::kTextType, text.c_str());
}

}  // namespace vellumry::test

// Text drawn on the offscreen platform loads fontconfig's caches, which live
// until the process ends by that library's design; they are not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
