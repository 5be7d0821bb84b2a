// The unit table's writes and copies: what a write touches, what a copy
// shares, and that a record's unit-specific data stays borrowable.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "forms/description/FormTable.h"
#include "forms/description/TemplateWriter.h"
#include "forms/description/UnitTable.h"
#include "runtime/base/SharedBytes.h"
#include "tests/forms/description/SampleTemplate.h"

namespace {

using namespace vellumry::forms;
using vellumry::runtime::SharedBytes;
using vellumry::test::kSampleCodeBase;
using vellumry::test::kSampleFormId;

// A form whose window unit carries `specificSize` bytes of unit-specific data
// (a pattern), followed by one button.
FormTable TableWithLargeWindow(std::size_t specificSize)
{
    FormDescription form = vellumry::test::SampleForms().front();
    form.units.resize(2);
    form.units[0].specific.resize(specificSize);
    std::iota(form.units[0].specific.begin(), form.units[0].specific.end(), std::uint8_t{1});
    auto stream = WriteTemplate(std::span(&form, 1));
    auto table = ReadTemplate(stream, kSampleCodeBase);
    EXPECT_TRUE(table.has_value());
    return std::move(*table);
}

TEST(UnitTable, ReplacingARecordKeepsEveryOtherRecordAndItsCopies)
{
    FormTable table = vellumry::test::ReadSampleTemplate();
    UnitTable& units = table.FindForm(kSampleFormId)->units;
    auto before = DecodeUnit(*units.UnitData(2));
    auto fields = DecodeUnitFields(*units.UnitData(1));
    ASSERT_TRUE(fields && before);
    fields->tag = "a much longer tag than the one it replaces";
    auto specific = *UnitSpecificData(units.UnitData(1)->data);
    ASSERT_TRUE(units.ReplaceRecordData(1, WriteUnitRecord(*fields, specific)));

    EXPECT_EQ(UnitTag(units.UnitData(1)->data), "a much longer tag than the one it replaces");
    EXPECT_EQ(units.UnitData(1)->unitId, 0x1601001Bu);
    EXPECT_EQ(UnitPosition(units.UnitData(1)->data), (Position{224, 472, 80, 24}));
    EXPECT_TRUE(std::ranges::equal(*UnitSpecificData(units.UnitData(1)->data), specific));
    EXPECT_EQ(DecodeUnit(*units.UnitData(2)), before);

    // A copy carries the replacement; writes to either stay in it.
    auto copy = units.Copy();
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(UnitTag(copy->UnitData(1)->data), "a much longer tag than the one it replaces");
    EXPECT_TRUE(copy->SetObjectSlot(1, 77));
    EXPECT_EQ(UnitObjectSlot(units.UnitData(1)->data), 0u);
    EXPECT_EQ(UnitObjectSlot(copy->UnitData(1)->data), 77u);
    EXPECT_FALSE(units.ReplaceRecordData(6, {}));
}

TEST(UnitTable, WordWritesStayOutOfTheUnitSpecificData)
{
    FormTable table = vellumry::test::ReadSampleTemplate();
    UnitTable& units = table.FindForm(kSampleFormId)->units;
    auto layout = WalkUnitRecord(units.UnitData(0)->data);
    ASSERT_TRUE(layout.has_value());
    EXPECT_TRUE(units.WriteWord(0, layout->flags, 5));
    EXPECT_EQ(UnitFlags(units.UnitData(0)->data), 5u);
    EXPECT_TRUE(units.WriteWord(0, layout->specific - 4, 0));  // the last reserved word
    EXPECT_FALSE(units.WriteWord(0, layout->specific - 3, 0));
    EXPECT_FALSE(units.WriteWord(0, layout->specific, 0));
    EXPECT_FALSE(units.WriteWord(0, units.UnitData(0)->data.size(), 0));
    EXPECT_FALSE(units.WriteWord(-1, 0, 0));
}

TEST(UnitTable, CopiesOfALargeTableShareItsPagesUntilWritten)
{
    constexpr std::size_t kMusic = 4 * 1024 * 1024;
    FormTable table = TableWithLargeWindow(kMusic);
    const UnitTable& original = table.FindForm(kSampleFormId)->units;
    auto working = original.Copy();
    ASSERT_TRUE(working.has_value());

    // The slots of both records are written: a page or two, not the music.
    EXPECT_TRUE(working->SetObjectSlot(0, 1));
    EXPECT_TRUE(working->SetObjectSlot(1, 2));
    EXPECT_TRUE(working->SetCursorSlot(1, 3));
    EXPECT_EQ(UnitObjectSlot(working->UnitData(0)->data), 1u);
    EXPECT_EQ(UnitObjectSlot(original.UnitData(0)->data), 0u);
    EXPECT_EQ(UnitCursorSlot(original.UnitData(1)->data), 0u);

    auto music = *UnitSpecificData(working->UnitData(0)->data);
    ASSERT_EQ(music.size(), kMusic);
    EXPECT_EQ(music[0], 1);
    EXPECT_EQ(music[kMusic - 1], static_cast<std::uint8_t>(kMusic));
}

TEST(UnitTable, UnitSpecificDataIsBorrowedNotCopiedAndOutlivesTheTable)
{
    constexpr std::size_t kMusic = 1024 * 1024;
    SharedBytes borrowed;
    const std::uint8_t* inTable = nullptr;
    {
        FormTable table = TableWithLargeWindow(kMusic);
        auto working = table.FindForm(kSampleFormId)->units.Copy();
        ASSERT_TRUE(working.has_value());
        auto specific = *UnitSpecificData(working->UnitData(0)->data);
        inTable = specific.data();
        borrowed = SharedBytes::Borrow(specific);
    }
    // The same bytes, still there after the tables are gone.
    EXPECT_EQ(borrowed.data(), inTable);
    ASSERT_EQ(borrowed.size(), kMusic);
    EXPECT_EQ(borrowed[0], 1);
    EXPECT_EQ(borrowed[kMusic - 1], static_cast<std::uint8_t>(kMusic));
}

}  // namespace
