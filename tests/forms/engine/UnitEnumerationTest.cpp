#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "forms/engine/FormEngine.h"
#include "forms/engine/UnitEnumeration.h"
#include "runtime/CommandCall.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/HeapOwner.h"
#include "runtime/ValueHelpers.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using runtime::TypedValue;

TypedValue Text(const std::string& gbk)
{
    return TypedValue::OfPointer(runtime::kTextType, gbk.c_str());
}

TypedValue FormWindow()
{
    return TypedValue::OfUnit(runtime::kWindowType, kTestFormId, kWindowUnitId);
}

TypedValue Omitted()
{
    return TypedValue{};
}

std::int32_t Call(runtime::LibraryCommand command, std::initializer_list<TypedValue> arguments)
{
    return runtime::CallCommand(command, arguments).Int();
}

// The UnitIds in a unit list, released afterwards.
std::vector<forms::UnitId> Listed(std::int32_t handle)
{
    std::vector<forms::UnitId> ids;
    std::int32_t count = Call(forms::UnitListCount, {TypedValue::OfInt(handle)});
    for (std::int32_t i = 0; i < count; ++i)
        ids.push_back(runtime::CallCommand(forms::UnitListItem, {TypedValue::OfInt(handle), TypedValue::OfInt(i)}).high);
    runtime::CallCommand(forms::UnitListRelease, {TypedValue::OfInt(handle)});
    return ids;
}

class UnitEnumeration : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        auto units = StandardUnits();
        TestUnitEntry second = units[2];
        second.unitId = 0x16010006;
        second.name = Gbk("编辑框_终止页码");
        second.tag = "12";
        units.push_back(second);
        InstallTestForm(units);
    }
    void TearDown() override { TearDownForms(); }
};

TEST_F(UnitEnumeration, NothingForAFormThatIsNotLoaded)
{
    EXPECT_EQ(Call(forms::EnumerateUnits, {FormWindow()}), 0);
}

TEST_F(UnitEnumeration, TypeNameSelectsTheEditBoxesInStoredOrder)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    std::string editBox = Gbk("编辑框");
    std::int32_t handle = Call(forms::EnumerateUnits, {FormWindow(), Omitted(), Text(editBox)});
    ASSERT_NE(handle, 0);
    EXPECT_EQ(Listed(handle), (std::vector<forms::UnitId>{kEditBox, 0x16010006}));
    std::string none = Gbk("透明标签");
    EXPECT_EQ(Call(forms::EnumerateUnits, {FormWindow(), Omitted(), Text(none)}), 0);
}

TEST_F(UnitEnumeration, NameFiltersArePrefixesOrExactWithAnAtSign)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    std::string prefix = Gbk("按钮_");
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow(), Text(prefix)})),
              (std::vector<forms::UnitId>{kFirstButton, kSecondButton}));
    std::string exact = "@" + Gbk("按钮_停止");
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow(), Text(exact)})),
              (std::vector<forms::UnitId>{kSecondButton}));
    std::string partial = "@" + Gbk("按钮_");
    EXPECT_EQ(Call(forms::EnumerateUnits, {FormWindow(), Text(partial)}), 0);
    // Every unit but the window, with nothing to filter by.
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow(), Text(""), Text("")})).size(), 4u);
}

TEST_F(UnitEnumeration, TagNumbersBoundTheList)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    // Tags: the buttons have none (0), the edit boxes 7 and 12.
    auto range = [](std::int32_t low, std::int32_t high) {
        return Listed(Call(forms::EnumerateUnits,
                           {FormWindow(), Omitted(), Omitted(), TypedValue::OfInt(low), TypedValue::OfInt(high)}));
    };
    EXPECT_EQ(range(5, 10), (std::vector<forms::UnitId>{kEditBox}));
    EXPECT_EQ(range(7, 12), (std::vector<forms::UnitId>{kEditBox, 0x16010006}));
    EXPECT_EQ(range(-1, 0), (std::vector<forms::UnitId>{kFirstButton, kSecondButton}));
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow(), Omitted(), Omitted(), TypedValue::OfInt(10)})),
              (std::vector<forms::UnitId>{0x16010006}));
}

// The tag is read as ToInteger reads a text: full-width digits count, and a
// number beyond 32 bits stops at the nearest end of the range.
TEST(UnitEnumerationTags, TagsReadAsToIntegerReadsThem)
{
    InstallTestUnitTypes();
    InstallTestHandlers();
    auto units = StandardUnits();
    units[1].tag = Gbk("１２");               // full-width 12 on the first button
    units[3].tag = "99999999999";              // beyond 32 bits on the second
    units[2].tag = "-99999999999";             // and below on the edit box
    InstallTestForm(units);
    forms::LoadForm(kTestFormId, false, nullptr);
    auto range = [](std::int32_t low, std::int32_t high) {
        return Listed(Call(forms::EnumerateUnits,
                           {FormWindow(), Omitted(), Omitted(), TypedValue::OfInt(low), TypedValue::OfInt(high)}));
    };
    EXPECT_EQ(range(12, 12), (std::vector<forms::UnitId>{kFirstButton}));
    EXPECT_EQ(range(INT32_MAX, INT32_MAX), (std::vector<forms::UnitId>{kSecondButton}));
    EXPECT_EQ(range(INT32_MIN, INT32_MIN), (std::vector<forms::UnitId>{kEditBox}));
    // Left out, the bounds take every unit in.
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow()})).size(), 3u);
    TearDownForms();
}

TEST_F(UnitEnumeration, UnitsWithoutALiveWindowAreSkipped)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    DestroyWindow(WindowOfUnit(kFirstButton));
    EXPECT_EQ(Listed(Call(forms::EnumerateUnits, {FormWindow()})),
              (std::vector<forms::UnitId>{kEditBox, kSecondButton, 0x16010006}));
}

TEST_F(UnitEnumeration, BadHandlesAndIndexesGiveTheEmptyWindowReference)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    std::int32_t handle = Call(forms::EnumerateUnits, {FormWindow()});
    TypedValue beyond = runtime::CallCommand(forms::UnitListItem, {TypedValue::OfInt(handle), TypedValue::OfInt(4)});
    EXPECT_EQ(beyond.tag, runtime::kWindowType);
    EXPECT_EQ(beyond.Payload(), 0u);
    TypedValue first = runtime::CallCommand(forms::UnitListItem, {TypedValue::OfInt(handle), TypedValue::OfInt(0)});
    EXPECT_EQ(first.tag, runtime::kButtonType);
    EXPECT_EQ(first.low, kTestFormId);
    runtime::CallCommand(forms::UnitListRelease, {TypedValue::OfInt(handle)});
    EXPECT_EQ(Call(forms::UnitListCount, {TypedValue::OfInt(handle)}), 0);
    EXPECT_EQ(runtime::CallCommand(forms::UnitListItem, {TypedValue::OfInt(handle), TypedValue::OfInt(0)}).tag,
              runtime::kWindowType);
    runtime::CallCommand(forms::UnitListRelease, {TypedValue::OfInt(handle)});  // ignored
    EXPECT_EQ(Call(forms::UnitListCount, {TypedValue::OfInt(0)}), 0);
}

TEST_F(UnitEnumeration, UnitNamesFromTheDescription)
{
    auto nameOf = [](TypedValue unit) {
        runtime::OwnedText name(runtime::CallCommand(forms::UnitNameOf, {unit}).Pointer<char>());
        return std::string(runtime::TextView(name.get()));
    };
    EXPECT_EQ(nameOf(TypedValue::OfUnit(runtime::kEditBoxType, kTestFormId, kEditBox)), Gbk("编辑框_起始页码"));
    EXPECT_EQ(nameOf(TypedValue::OfUnit(runtime::kButtonType, kTestFormId, 0x16019999)), "");
    EXPECT_EQ(nameOf(TypedValue::OfUnit(runtime::kButtonType, 0x52010099, kFirstButton)), "");
    EXPECT_EQ(nameOf(TypedValue::OfUnit(runtime::kComObjectType, kTestFormId, kFirstButton)), "");  // no unit type
    EXPECT_EQ(nameOf(TypedValue::OfInt(5)), "");
}

TEST_F(UnitEnumeration, CommandsSitInTheirCoreLibrarySlots)
{
    forms::InstallUnitEnumerationCommands();
    EXPECT_EQ(runtime::CoreCommandSlot(runtime::CoreCommand::EnumerateUnits), &forms::EnumerateUnits);
    EXPECT_EQ(runtime::CoreCommandSlot(runtime::CoreCommand::UnitNameOf), &forms::UnitNameOf);
}

}  // namespace
