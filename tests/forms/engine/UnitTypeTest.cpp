// A unit type is a struct of typed routines; the engine reaches them back
// through the data type record's numbered interface routine.

#include <gtest/gtest.h>

#include "forms/description/SupportLibraries.h"
#include "forms/engine/UnitType.h"
#include "runtime/DataTypeTag.h"

namespace {

using namespace vellumry;
using forms::UnitPropertyValue;

std::int32_t ReadSeven(ui::WindowObject*, std::int32_t number, UnitPropertyValue* value)
{
    value->number = 7 + number;
    return 1;
}

bool NeverDefault(ui::WindowObject*)
{
    return false;
}

constexpr forms::UnitType kReadingType = {.readProperty = ReadSeven, .isDefaultButton = NeverDefault};
constexpr forms::UnitType kEmptyType = {};

class UnitTypes : public ::testing::Test {
protected:
    void TearDown() override { forms::SetUnitInterface(runtime::kButtonType, nullptr); }
};

TEST_F(UnitTypes, InstalledRoutinesComeBackThroughTheRecord)
{
    ASSERT_TRUE(forms::InstallUnitType<kReadingType>(runtime::kButtonType));
    const runtime::DataTypeRecord* record = forms::FindDataType(runtime::kButtonType);
    ASSERT_NE(record->interfaceRoutine, nullptr);
    forms::UnitType operations = forms::OperationsOf(record);
    ASSERT_NE(operations.readProperty, nullptr);
    UnitPropertyValue value;
    EXPECT_EQ(operations.readProperty(nullptr, 3, &value), 1);
    EXPECT_EQ(value.number, 10);
    EXPECT_EQ(operations.isDefaultButton, &NeverDefault);
    EXPECT_EQ(operations.create, nullptr);
    EXPECT_EQ(operations.writeProperty, nullptr);
    EXPECT_EQ(operations.saveProperties, nullptr);
    EXPECT_EQ(operations.enumerateTexts, nullptr);
    // Codes the engine never asks for answer nothing.
    EXPECT_EQ(record->interfaceRoutine(2), nullptr);
    EXPECT_EQ(record->interfaceRoutine(-1), nullptr);
}

TEST_F(UnitTypes, TypesWithoutOperationsAnswerNone)
{
    ASSERT_TRUE(forms::InstallUnitType<kEmptyType>(runtime::kButtonType));
    forms::UnitType operations = forms::OperationsOf(forms::FindDataType(runtime::kButtonType));
    EXPECT_EQ(operations.create, nullptr);
    EXPECT_EQ(operations.readProperty, nullptr);
    forms::SetUnitInterface(runtime::kButtonType, nullptr);
    EXPECT_EQ(forms::OperationsOf(forms::FindDataType(runtime::kButtonType)).readProperty, nullptr);
    EXPECT_EQ(forms::OperationsOf(nullptr).create, nullptr);
    EXPECT_FALSE(forms::InstallUnitType<kReadingType>(runtime::kIntType));
}

}  // namespace
