// The field accessors walk a record the way the form engine will.

#include <gtest/gtest.h>

#include "forms/description/FormTable.h"
#include "forms/description/UnitRecord.h"
#include "tests/forms/description/SampleTemplate.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry::forms;
using vellumry::test::Gbk;

class SampleUnits : public ::testing::Test {
protected:
    std::span<const std::uint8_t> Record(UnitId unitId) const
    {
        return m_table.FindForm(vellumry::test::kSampleFormId)->units.FindUnit(unitId)->data;
    }

    FormTable m_table = vellumry::test::ReadSampleTemplate();
};

TEST_F(SampleUnits, AccessorsWalkToEveryField)
{
    auto button = Record(0x1601001B);
    EXPECT_EQ(UnitTypeOf(button), vellumry::runtime::kButtonType);
    EXPECT_EQ(UnitName(button), Gbk("按钮_下载"));
    EXPECT_EQ(UnitRemark(button), "remark");
    EXPECT_EQ(UnitPosition(button), (Position{224, 472, 80, 24}));
    EXPECT_EQ(UnitParent(button), 0u);
    EXPECT_EQ(UnitChildren(button), std::vector<UnitId>{});
    EXPECT_EQ(UnitTag(button), Gbk("下载"));
    EXPECT_EQ(UnitFlags(button), kUnitVisible | kUnitTabStop);
    EXPECT_EQ(UnitTabOrder(button), 3);
    auto pointer = UnitMousePointer(button);
    ASSERT_TRUE(pointer.has_value());
    // A block longer than 4 bytes is a cursor kind followed by a custom cursor.
    EXPECT_EQ(std::vector<std::uint8_t>(pointer->begin(), pointer->end()),
              (std::vector<std::uint8_t>{1, 0, 0, 0, 0xC0, 0xFF, 0xEE}));
    auto events = UnitEventBindings(button);
    ASSERT_TRUE(events.has_value());
    ASSERT_EQ(events->size(), 3u);
    EXPECT_EQ((*events)[1], (EventBinding{-7, kNoHandler}));
    auto specific = UnitSpecificData(button);
    ASSERT_TRUE(specific.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(specific->begin(), specific->end()), (std::vector<std::uint8_t>{1, 0, 0, 0}));

    auto list = Record(0x16010014);
    EXPECT_EQ(UnitChildren(list), (std::vector<UnitId>{0x16010015, 0, 0x16010016}));
    EXPECT_EQ(UnitParent(list), 0x16010030u);
    EXPECT_EQ(UnitPosition(list), (Position{-6, -48, 824, 616}));
    EXPECT_EQ(UnitFlags(list), kUnitTabStop);
}

TEST_F(SampleUnits, RecordWithoutSpecificDataEndsAfterTheFiveReservedWords)
{
    auto folder = Record(0x16010005);
    auto layout = WalkUnitRecord(folder);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->eventCount, 0u);
    EXPECT_EQ(layout->specific, layout->events + 4 + 5 * 4);
    EXPECT_EQ(layout->specific, folder.size());
    EXPECT_EQ(UnitSpecificData(folder)->size(), 0u);
    EXPECT_EQ(UnitMousePointer(folder)->size(), 0u);
}

TEST_F(SampleUnits, MenuItemsHaveOnlyNamesAndTheirOwnFields)
{
    auto item = Record(0x26010001);
    EXPECT_EQ(UnitName(item), "menu");
    EXPECT_EQ(UnitPosition(item), std::nullopt);
    EXPECT_EQ(UnitTag(item), std::nullopt);
    EXPECT_EQ(UnitFlags(item), std::nullopt);
    EXPECT_EQ(UnitSpecificData(item), std::nullopt);
    auto fields = DecodeUnit({0x26010001, item});
    ASSERT_TRUE(fields.has_value());
    ASSERT_TRUE(fields->menu.has_value());
    EXPECT_EQ(fields->menu->caption, Gbk("文件"));
    EXPECT_EQ(fields->menu->flags, kMenuItemChecked);
}

TEST(UnitRecordWalk, ShortOrUnterminatedRecordsAreNotWalked)
{
    UnitRecordFields unit;
    unit.type = vellumry::runtime::kButtonType;
    unit.name = "name";
    std::vector<std::uint8_t> record = WriteUnitRecord(unit);
    ASSERT_TRUE(WalkUnitRecord(record).has_value());
    for (std::size_t length = 0; length < record.size(); ++length) {
        std::span<const std::uint8_t> cut(record.data(), length);
        EXPECT_FALSE(WalkUnitRecord(cut).has_value()) << "length " << length;
        EXPECT_EQ(UnitName(cut).has_value(), false) << "length " << length;
        EXPECT_EQ(EventHandlerOf(cut, 0), kNoHandler);
    }
    EXPECT_EQ(UnitTypeOf(std::span(record).first(3)), std::nullopt);
}

TEST(IdentifierFields, KindSubKindAndNumber)
{
    EXPECT_TRUE(IsFormId(0x52010001));
    EXPECT_EQ(IdKind(0x16010014), kUnitKind);
    EXPECT_EQ(IdSubKind(0x16010014), kOrdinaryUnitSubKind);
    EXPECT_EQ(IdSubKind(0x06010000), kWindowUnitSubKind);
    EXPECT_EQ(IdNumber(0x160149CF), 0x0149CFu);
    EXPECT_TRUE(IsValidId(0x06010000));
    EXPECT_FALSE(IsValidId(0x06000000));  // number 0
    EXPECT_FALSE(IsValidId(0x10000001));  // kind 0
    EXPECT_EQ(MakeId(2, kUnitKind, 1), 0x26000001u);
}

}  // namespace
