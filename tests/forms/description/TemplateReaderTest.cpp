#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "forms/description/FormTable.h"
#include "runtime/ByteWriter.h"
#include "runtime/Values.h"
#include "tests/forms/description/SampleTemplate.h"

namespace {

using namespace vellumry::forms;
using vellumry::runtime::ByteWriter;
using vellumry::test::kSampleCodeBase;
using vellumry::test::kSampleFormId;
using vellumry::test::kSecondFormId;
using vellumry::test::SampleTemplate;
using Bytes = std::vector<std::uint8_t>;

std::optional<FormTable> Read(const Bytes& stream)
{
    return ReadTemplate(stream, kSampleCodeBase);
}

TEST(TemplateReader, WrittenTemplateReadsBackUnitByUnit)
{
    auto table = Read(SampleTemplate());
    ASSERT_TRUE(table.has_value());
    auto expected = vellumry::test::SampleFormsAsRead();
    ASSERT_EQ(table->Forms().size(), expected.size());
    for (std::size_t f = 0; f < expected.size(); ++f) {
        const TemplateForm& form = table->Forms()[f];
        EXPECT_EQ(form.formId, expected[f].formId);
        EXPECT_EQ(form.words[0], expected[f].words[0]);
        EXPECT_EQ(form.words[1], expected[f].words[1]);
        EXPECT_EQ(form.texts[0], expected[f].texts[0]);
        EXPECT_EQ(form.texts[1], expected[f].texts[1]);
        ASSERT_EQ(form.units.Count(), static_cast<std::int32_t>(expected[f].units.size()));
        for (std::int32_t i = 0; i < form.units.Count(); ++i) {
            auto unit = form.units.UnitData(i);
            ASSERT_TRUE(unit.has_value()) << "form " << f << " unit " << i;
            auto fields = DecodeUnit(*unit);
            ASSERT_TRUE(fields.has_value()) << "form " << f << " unit " << i;
            EXPECT_EQ(*fields, expected[f].units[i]) << "form " << f << " unit " << i;
        }
    }
}

TEST(TemplateReader, HandlersAreFixedUpAgainstTheCodeBase)
{
    auto table = Read(SampleTemplate());
    ASSERT_TRUE(table.has_value());
    const UnitTable& units = table->FindForm(kSampleFormId)->units;
    auto window = units.UnitData(0)->data;
    EXPECT_EQ(EventHandlerOf(window, 0), kSampleCodeBase + 0);  // offset 0 is a handler, not "none"
    EXPECT_EQ(EventHandlerOf(window, 3), kNoHandler);           // stored as -1
    auto button = units.FindUnit(0x1601001B)->data;
    EXPECT_EQ(EventHandlerOf(button, 0), kSampleCodeBase + 1);  // the first pair wins
    EXPECT_EQ(EventHandlerOf(button, -7), kNoHandler);
    EXPECT_EQ(EventHandlerOf(button, 12), kNoHandler);          // no pair at all
    EXPECT_EQ(EventHandlerOf(units.FindUnit(0x26010001)->data, 0), kSampleCodeBase + 2);
    EXPECT_EQ(EventHandlerOf(units.FindUnit(0x26010002)->data, 0), kNoHandler);
    EXPECT_EQ(HandlerPosition(EventHandlerOf(button, 0), kSampleCodeBase), 1u);
    EXPECT_EQ(HandlerPosition(kNoHandler, kSampleCodeBase), std::nullopt);
}

// A one-form template whose form index claims `indexLength` bytes: the id,
// the placeholder and indexLength - 8 further bytes.
Bytes WithIndexLength(std::uint32_t indexLength)
{
    Bytes stream = vellumry::forms::WriteTemplate(std::vector{vellumry::test::SampleForms()[0]});
    Bytes padded(stream.begin(), stream.begin() + 12);
    vellumry::runtime::StoreWord(padded.data(), static_cast<std::int32_t>(indexLength));
    padded.insert(padded.end(), indexLength - 8, 0xAB);
    padded.insert(padded.end(), stream.begin() + 12, stream.end());
    return padded;
}

class FormIndex : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(FormIndex, LengthThatIsNotAMultipleOfEightCountsWholePairsOnly)
{
    auto table = Read(WithIndexLength(GetParam()));
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->Forms().size(), 1u);
    EXPECT_EQ(table->Forms()[0].formId, kSampleFormId);
    EXPECT_EQ(table->Forms()[0].units.Count(), 6);
}

INSTANTIATE_TEST_SUITE_P(Remainders, FormIndex, ::testing::Range(8u, 16u));

TEST(TemplateReader, IndexShorterThanOnePairHoldsNoForm)
{
    ByteWriter writer;
    writer.PutU32(7);
    writer.PutBytes(std::string_view("\x01\x00\x01\x52\x00\x00\x00", 7));
    auto table = Read(writer.Take());
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(table->Forms().empty());
    EXPECT_EQ(table->FindForm(kSampleFormId), nullptr);
}

TEST(TemplateReader, EveryTruncationFailsToRead)
{
    Bytes stream = SampleTemplate();
    for (std::size_t length = 0; length < stream.size(); ++length)
        EXPECT_FALSE(ReadTemplate(std::span(stream).first(length), kSampleCodeBase).has_value()) << "length " << length;
}

// A one-form template around a unit table block.
Bytes OneFormTemplate(std::int32_t count, std::span<const std::uint8_t> block,
                      std::optional<std::uint32_t> blockLength = std::nullopt)
{
    ByteWriter stream;
    stream.PutU32(8);
    stream.PutU32(kSampleFormId);
    stream.PutU32(0);
    stream.PutU32(0);
    stream.PutU32(0);
    stream.PutLengthPrefixed(std::string_view());
    stream.PutLengthPrefixed(std::string_view());
    stream.PutI32(count);
    stream.PutU32(blockLength.value_or(static_cast<std::uint32_t>(block.size())));
    stream.PutBytes(block);
    return stream.Take();
}

// One form holding one unit whose record is given as bytes, with the unit
// table's count, offset and record length open to damage.
struct OneUnit {
    Bytes record = WriteUnitRecord(vellumry::test::SampleForms()[0].units[3]);
    std::int32_t count = 1;
    std::uint32_t offset = 0;
    std::optional<std::uint32_t> recordLength;
    std::optional<std::uint32_t> blockLength;

    Bytes Template() const
    {
        ByteWriter block;
        block.PutU32(0x06010000);
        block.PutU32(offset);
        block.PutU32(recordLength.value_or(static_cast<std::uint32_t>(record.size())));
        block.PutBytes(record);
        return OneFormTemplate(count, block.Bytes(), blockLength);
    }
};

struct Damage {
    const char* name;
    std::function<void(OneUnit&)> apply;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedTemplate : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedTemplate, FailsToRead)
{
    OneUnit unit;
    ASSERT_TRUE(Read(unit.Template()).has_value());
    GetParam().apply(unit);
    EXPECT_FALSE(Read(unit.Template()).has_value());
}

// Offsets inside the sample edit box record (no unit-specific data): 24
// leading bytes, its name (15 GBK bytes and a zero), the empty remark.
constexpr std::size_t kChildCount = 24 + 16 + 1 + 28;
constexpr std::size_t kMousePointerLength = kChildCount + 4;
constexpr std::size_t kEventCount = kMousePointerLength + 4 + 1 + 12;

void Poke(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    vellumry::runtime::StoreWord(bytes.data() + offset, static_cast<std::int32_t>(value));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedTemplate,
    ::testing::Values(
        Damage{"NegativeUnitCount", [](OneUnit& u) { u.count = -1; }},
        Damage{"CountBeyondTheBlock", [](OneUnit& u) { u.count = 0x10000000; }},
        Damage{"OffsetBeyondTheBlock", [](OneUnit& u) { u.offset = 0x1000; }},
        Damage{"OffsetIntoTheLastBytes", [](OneUnit& u) { u.offset = static_cast<std::uint32_t>(u.record.size()); }},
        Damage{"RecordLongerThanTheBlock", [](OneUnit& u) { u.recordLength = 0xFFFFFFF0; }},
        Damage{"BlockLongerThanTheStream", [](OneUnit& u) { u.blockLength = 0x7FFFFFFF; }},
        Damage{"NameWithoutItsZero", [](OneUnit& u) { u.record.resize(30); }},
        Damage{"ChildCountBeyondTheRecord", [](OneUnit& u) { Poke(u.record, kChildCount, 0x40000000); }},
        Damage{"MousePointerBeyondTheRecord", [](OneUnit& u) { Poke(u.record, kMousePointerLength, 0xFFFFFFFF); }},
        Damage{"EventCountBeyondTheRecord", [](OneUnit& u) { Poke(u.record, kEventCount, 0x20000000); }},
        Damage{"RecordMissingItsReservedWords", [](OneUnit& u) { u.record.resize(u.record.size() - 4); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TemplateReader, SampleOffsetsPointAtTheFieldsTheDamagesAim)
{
    OneUnit unit;
    auto layout = WalkUnitRecord(unit.record);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->children, kChildCount);
    EXPECT_EQ(layout->mousePointer, kMousePointerLength);
    EXPECT_EQ(layout->events, kEventCount);
}

// A unit table block laid out by hand: its UnitIds, its record offsets and
// the record bytes after them, where records may share bytes.
struct HandLaidTable {
    std::vector<std::uint32_t> ids;
    std::vector<std::uint32_t> offsets;
    Bytes records;

    Bytes Template() const
    {
        ByteWriter block;
        for (std::uint32_t id : ids)
            block.PutU32(id);
        for (std::uint32_t offset : offsets)
            block.PutU32(offset);
        block.PutBytes(records);
        return OneFormTemplate(static_cast<std::int32_t>(ids.size()), block.Bytes());
    }
};

void Append(Bytes& bytes, std::uint32_t word)
{
    bytes.resize(bytes.size() + 4);
    Poke(bytes, bytes.size() - 4, word);
}

void Append(Bytes& bytes, const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
}

const UnitRecordFields& SampleUnit(std::size_t index)
{
    static const auto forms = vellumry::test::SampleForms();
    return forms[0].units[index];
}

constexpr std::size_t kSampleWindow = 0;
constexpr std::size_t kSampleFolder = 3;
constexpr std::size_t kSampleMenuQuit = 5;

// Record 1 comes first in the block: the sample edit box with a single event
// binding, whose last words are also record 0's. With `handlerOnLength` its
// handler word is record 0's length word, otherwise its event number is that
// length and its handler record 0's type tag. Record 0 runs to the end of the
// block, and record 1's reserved words and unit-specific data are the rest of
// record 0. Both records walk as they stand.
HandLaidTable BindingInto(UnitId id, const Bytes& record, bool handlerOnLength)
{
    UnitRecordFields folder = SampleUnit(kSampleFolder);
    folder.events = {{0, kStoredNoHandler}};
    Bytes head = WriteUnitRecord(folder);
    head.resize(WalkUnitRecord(head)->events + (handlerOnLength ? 8 : 4));
    HandLaidTable table{{id, folder.unitId}, {static_cast<std::uint32_t>(4 + head.size()), 0}, {}};
    Append(table.records, static_cast<std::uint32_t>(head.size() + 4 + record.size()));
    Append(table.records, head);
    Append(table.records, static_cast<std::uint32_t>(record.size()));
    Append(table.records, record);
    return table;
}

// Fixing record 1's handler up lengthens record 0 past the end of the block.
HandLaidTable HandlerOverALength()
{
    return BindingInto(0x06010000, WriteUnitRecord(SampleUnit(kSampleWindow)), true);
}

// Record 0 is a menu item until fixing record 1's handler up changes its type
// tag to an ordinary unit's, whose fields its bytes do not hold.
HandLaidTable HandlerOverAType()
{
    return BindingInto(0x26010002, WriteUnitRecord(SampleUnit(kSampleMenuQuit)), false);
}

// Two UnitIds name one record, whose handlers would be fixed up twice: a
// stored -1 would become none and then a handler.
HandLaidTable OneRecordTwice()
{
    Bytes window = WriteUnitRecord(SampleUnit(kSampleWindow));
    HandLaidTable table{{0x06010000, 0x16010005}, {0, 0}, {}};
    Append(table.records, static_cast<std::uint32_t>(window.size()));
    Append(table.records, window);
    return table;
}

struct SharedBytes {
    const char* name;
    HandLaidTable (*make)();
};

void PrintTo(const SharedBytes& shape, std::ostream* out)
{
    *out << shape.name;
}

class RecordsSharingBytes : public ::testing::TestWithParam<SharedBytes> {};

TEST_P(RecordsSharingBytes, AreRefused)
{
    HandLaidTable table = GetParam().make();
    EXPECT_FALSE(Read(table.Template()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Shapes, RecordsSharingBytes,
                         ::testing::Values(SharedBytes{"HandlerOverALength", HandlerOverALength},
                                           SharedBytes{"HandlerOverAType", HandlerOverAType},
                                           SharedBytes{"OneRecordTwice", OneRecordTwice}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TemplateReader, RecordsApartAreReadInAnyOrderAndWithGaps)
{
    // The edit box first, after 8 stray bytes, then 3 more and the window.
    Bytes folder = WriteUnitRecord(SampleUnit(kSampleFolder));
    Bytes window = WriteUnitRecord(SampleUnit(kSampleWindow));
    HandLaidTable table{{0x06010000, 0x16010005}, {static_cast<std::uint32_t>(8 + 4 + folder.size() + 3), 8}, {}};
    table.records.assign(8, 0xEE);
    Append(table.records, static_cast<std::uint32_t>(folder.size()));
    Append(table.records, folder);
    table.records.insert(table.records.end(), 3, 0xEE);
    Append(table.records, static_cast<std::uint32_t>(window.size()));
    Append(table.records, window);

    auto read = Read(table.Template());
    ASSERT_TRUE(read.has_value());
    const UnitTable& units = read->Forms()[0].units;
    auto expected = vellumry::test::SampleFormsAsRead()[0].units;
    for (std::int32_t i = 0; i < 2; ++i) {
        auto unit = units.UnitData(i);
        ASSERT_TRUE(unit.has_value()) << "unit " << i;
        EXPECT_EQ(DecodeUnit(*unit), expected[i == 0 ? kSampleWindow : kSampleFolder]) << "unit " << i;
    }
}

TEST(TemplateReader, TemplateFormsAreFoundByIdAndUnitsByIdOrPosition)
{
    auto table = Read(SampleTemplate());
    ASSERT_TRUE(table.has_value());
    const TemplateForm* first = table->FindForm(kSampleFormId);
    const TemplateForm* second = table->FindForm(kSecondFormId);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->units.Count(), 2);
    EXPECT_EQ(table->FindForm(0x52010003), nullptr);

    const UnitTable& units = first->units;
    EXPECT_EQ(units.UnitData(0)->unitId, 0x06010000u);
    EXPECT_EQ(units.FindUnit(0x16010014)->unitId, 0x16010014u);
    EXPECT_EQ(units.IndexOf(0x16010005), 3);
    EXPECT_EQ(units.FindUnit(0x16019999), std::nullopt);
    EXPECT_EQ(units.IndexOf(0x16019999), -1);
    EXPECT_EQ(units.UnitData(-1), std::nullopt);
    EXPECT_EQ(units.UnitData(6), std::nullopt);
}

TEST(TemplateReader, WorkingCopyTakesSlotsWithoutTouchingTheTemplate)
{
    auto table = Read(SampleTemplate());
    ASSERT_TRUE(table.has_value());
    const UnitTable& original = table->FindForm(kSampleFormId)->units;
    auto working = original.Copy();
    ASSERT_TRUE(working.has_value());
    EXPECT_TRUE(working->SetObjectSlot(1, 0x1234));
    EXPECT_TRUE(working->SetCursorSlot(1, 0x5678));
    EXPECT_EQ(UnitObjectSlot(working->UnitData(1)->data), 0x1234u);
    EXPECT_EQ(UnitCursorSlot(working->UnitData(1)->data), 0x5678u);
    EXPECT_EQ(UnitPosition(working->UnitData(1)->data), (Position{224, 472, 80, 24}));
    EXPECT_EQ(UnitObjectSlot(original.UnitData(1)->data), 0u);
    EXPECT_EQ(UnitCursorSlot(original.UnitData(1)->data), 0u);
    EXPECT_FALSE(working->SetObjectSlot(4, 1));  // a menu item has no slots
    EXPECT_FALSE(working->SetObjectSlot(6, 1));
}

}  // namespace
