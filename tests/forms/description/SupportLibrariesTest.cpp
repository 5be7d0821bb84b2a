#include <gtest/gtest.h>

#include "forms/description/PropertyKinds.h"
#include "forms/description/SupportLibraries.h"
#include "runtime/base/CommandTables.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry::forms;
using namespace vellumry::runtime;
using vellumry::test::Utf8;

struct TypeRow {
    DataTypeTag tag;
    const char* displayName;
    const char* programmingName;
    std::uint32_t stateFlags;
    std::int32_t propertyCount;
};

void PrintTo(const TypeRow& row, std::ostream* out)
{
    *out << row.programmingName;
}

class DataTypeTable : public ::testing::TestWithParam<TypeRow> {};

TEST_P(DataTypeTable, TypeSitsAtItsNumberWithNamesFlagsAndProperties)
{
    const TypeRow& row = GetParam();
    const LibraryRecord* library = SupportLibraries()[LibraryNumberOf(row.tag) - 1];
    const DataTypeRecord& type = library->dataTypes[TypeNumberOf(row.tag) - 1];
    EXPECT_EQ(FindDataType(row.tag), &type);
    EXPECT_EQ(Utf8(type.displayName), row.displayName);
    EXPECT_STREQ(type.programmingName, row.programmingName);
    EXPECT_EQ(type.stateFlags, row.stateFlags);
    ASSERT_EQ(type.propertyCount, row.propertyCount);
    EXPECT_EQ(FindDataTypeByName(row.programmingName), row.tag);
    for (std::int32_t i = 0; i < type.propertyCount; ++i) {
        const PropertyRecord& property = type.properties[i];
        EXPECT_EQ(property.name, nullptr);
        EXPECT_EQ(property.pickList, nullptr);
        EXPECT_GE(property.kind, 1000) << "property " << i;
        EXPECT_LE(property.kind, 1024) << "property " << i;
        EXPECT_EQ(property.stateFlags, i < kCommonPropertyCount ? kCommonPropertyState : 0) << "property " << i;
    }
    if (type.propertyCount > 0) {
        const std::int16_t common[] = {1001, 1001, 1001, 1001, 1005, 1003, 1003, 1011};
        for (int i = 0; i < kCommonPropertyCount; ++i)
            EXPECT_EQ(type.properties[i].kind, common[i]) << "common property " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProgramTypes, DataTypeTable,
    ::testing::Values(TypeRow{kWindowType, "窗口", "window", 0x800000D0, 32},
                      TypeRow{kEditBoxType, "编辑框", "EditBox", 0x80000040, 29},
                      TypeRow{kPicBoxType, "图片框", "PicBox", 0x840100C0, 15},
                      TypeRow{kButtonType, "按钮", "Button", 0x80000840, 14},
                      TypeRow{kComObjectType, "对象", "ComObject", 0x80000000, 0},
                      TypeRow{kVariantType, "变体型", "Variant", 0x80000000, 0},
                      TypeRow{kStatusBarType, "状态条", "StatusBar", 0x00110040, 14},
                      TypeRow{kListViewType, "超级列表框", "ListView", 0x00000040, 39},
                      TypeRow{kTransLabelType, "透明标签", "TransLabel", 0x00012040, 15}),
    [](const auto& info) { return std::string(info.param.programmingName); });

TEST(SupportLibraryTable, LibrariesHaveTheirCountsAndTheRuntimeCommandSlots)
{
    const LibraryRecord* const* libraries = SupportLibraries();
    const std::int32_t typeCounts[] = {51, 5, 0};
    const std::int32_t commandCounts[] = {54, 7, 0};
    for (int i = 0; i < kSupportLibraryCount; ++i) {
        const LibraryRecord& library = *libraries[i];
        EXPECT_EQ(library.formatNumber, 20000101) << "library " << i + 1;
        EXPECT_EQ(library.dataTypeCount, typeCounts[i]) << "library " << i + 1;
        EXPECT_EQ(library.commandCount, commandCounts[i]) << "library " << i + 1;
        EXPECT_EQ(library.language, 1);
        ASSERT_NE(library.identifier, nullptr);
        EXPECT_EQ(std::strlen(library.identifier), 32u);
        EXPECT_NE(library.displayName, nullptr);
        EXPECT_EQ(library.explanation, nullptr);
        EXPECT_EQ(library.commandDescriptions, nullptr);
    }
    EXPECT_EQ(libraries[0]->commands, CoreCommandSlots().data());
    EXPECT_EQ(libraries[1]->commands, ExtendedUiCommandSlots().data());
    EXPECT_EQ(libraries[2]->commands, nullptr);
    EXPECT_EQ(libraries[2]->dataTypes, nullptr);
}

TEST(SupportLibraryTable, PositionsThatTheProgramDoesNotUseAreZero)
{
    const LibraryRecord* core = SupportLibraries()[0];
    int used = 0;
    for (std::int32_t i = 0; i < core->dataTypeCount; ++i) {
        const DataTypeRecord& type = core->dataTypes[i];
        if (type.programmingName) {
            ++used;
            continue;
        }
        EXPECT_EQ(type.displayName, nullptr) << "position " << i + 1;
        EXPECT_EQ(type.stateFlags, 0u) << "position " << i + 1;
        EXPECT_EQ(type.propertyCount, 0) << "position " << i + 1;
        EXPECT_EQ(type.interfaceRoutine, nullptr) << "position " << i + 1;
    }
    EXPECT_EQ(used, 6);
    EXPECT_EQ(FindDataType(kMenuItemType), nullptr);   // position 3 is not filled
    EXPECT_EQ(FindDataType(0x00010034), nullptr);      // beyond the 51 positions
    EXPECT_EQ(FindDataType(0x00030001), nullptr);      // the special-function library has none
    EXPECT_EQ(FindDataType(kTextType), nullptr);       // a system type
    EXPECT_EQ(FindDataTypeByName("menu"), 0u);
}

UnitOperation NoOperation(std::int32_t)
{
    return nullptr;
}

std::intptr_t Notify(std::int32_t, std::intptr_t, std::intptr_t)
{
    return 0;
}

TEST(SupportLibraryTable, UnitInterfaceAndNotifyRoutinesAreSetByTheirOwners)
{
    EXPECT_TRUE(SetUnitInterface(kListViewType, NoOperation));
    EXPECT_EQ(FindDataType(kListViewType)->interfaceRoutine, NoOperation);
    EXPECT_EQ(SupportLibraries()[1]->dataTypes[3].interfaceRoutine, NoOperation);
    EXPECT_FALSE(SetUnitInterface(kMenuItemType, NoOperation));
    EXPECT_FALSE(SetUnitInterface(kIntType, NoOperation));
    EXPECT_TRUE(SetUnitInterface(kListViewType, nullptr));
    EXPECT_EQ(FindDataType(kListViewType)->interfaceRoutine, nullptr);

    EXPECT_TRUE(SetLibraryNotify(2, Notify));
    EXPECT_EQ(SupportLibraries()[1]->notify, Notify);
    EXPECT_FALSE(SetLibraryNotify(0, Notify));
    EXPECT_FALSE(SetLibraryNotify(4, Notify));
    EXPECT_TRUE(SetLibraryNotify(2, nullptr));
}

}  // namespace
