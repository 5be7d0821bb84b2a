// The record machinery, exercised on every unit record type at once: round
// trips, the version rules and damaged data.

#include <gtest/gtest.h>

#include <vector>

#include <string>

#include "runtime/ByteWriter.h"
#include "units/UnitRecordTypes.h"

namespace {

using namespace vellumry::units;
// Bytes these tests build and look into; records hold theirs as units::Bytes.
using Bytes = std::vector<std::uint8_t>;

// Every field set away from its default, each to a value of its own.
template <typename Record>
Record Filled()
{
    Record record;
    int n = 0;
    for (const RecordField<Record>& field : LayoutOf<Record>().fields) {
        ++n;
        std::visit(
            [&](auto member) {
                auto& value = record.*member;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, std::string>)
                    value = "\xC4\xDA\xC8\xDD " + std::to_string(n);  // GBK "内容"
                else if constexpr (std::is_same_v<Value, vellumry::units::Bytes>)
                    value = Bytes(static_cast<std::size_t>(n), static_cast<std::uint8_t>(n));
                else
                    value = static_cast<Value>(-1000 - n);
            },
            field.member);
    }
    return record;
}

// A stored record of version `version` holding the fields that version has,
// with the values of Filled().
template <typename Record>
Bytes StoredAtVersion(std::int32_t version)
{
    Record filled = Filled<Record>();
    vellumry::runtime::ByteWriter writer;
    writer.PutI32(version);
    for (const RecordField<Record>& field : LayoutOf<Record>().fields)
        if (field.sinceVersion <= version)
            std::visit([&](auto member) { detail::WriteField(writer, filled.*member); }, field.member);
    return writer.Take();
}

template <typename Record>
class StoredRecord : public ::testing::Test {};

using RecordTypes = ::testing::Types<WindowProperties, ButtonProperties, EditBoxProperties, StatusBarProperties,
                                     PictureBoxProperties, ListViewProperties, TransLabelProperties>;

class RecordNames {
public:
    template <typename Record>
    static std::string GetName(int)
    {
        return std::string(LayoutOf<Record>().name);
    }
};

TYPED_TEST_SUITE(StoredRecord, RecordTypes, RecordNames);

TYPED_TEST(StoredRecord, SavedRecordLoadsBackEqual)
{
    TypeParam original = Filled<TypeParam>();
    ASSERT_NE(original, TypeParam{});
    Bytes saved = SaveRecord(original);
    EXPECT_EQ(StoredVersion(saved), LayoutOf<TypeParam>().highestVersion);
    auto loaded = LoadRecord<TypeParam>(saved);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_TRUE(*loaded == original);
    EXPECT_EQ(SaveRecord(*loaded), saved);
}

TYPED_TEST(StoredRecord, EmptyDataGivesTheDefaults)
{
    auto loaded = LoadRecord<TypeParam>({});
    ASSERT_TRUE(loaded.has_value());
    EXPECT_TRUE(*loaded == TypeParam{});
}

TYPED_TEST(StoredRecord, EveryAcceptedVersionLoadsItsFieldsAndDefaultsTheRest)
{
    const auto& layout = LayoutOf<TypeParam>();
    TypeParam filled = Filled<TypeParam>();
    TypeParam defaults;
    for (std::int32_t version = 0; version <= layout.highestVersion; ++version) {
        auto loaded = LoadRecord<TypeParam>(StoredAtVersion<TypeParam>(version));
        ASSERT_TRUE(loaded.has_value()) << "version " << version;
        for (const auto& field : layout.fields) {
            const TypeParam& expected = field.sinceVersion <= version ? filled : defaults;
            bool same = std::visit([&](auto member) { return (*loaded).*member == expected.*member; }, field.member);
            EXPECT_TRUE(same) << "version " << version << ", field " << field.name;
        }
    }
}

TYPED_TEST(StoredRecord, VersionsOutsideTheAcceptedRangeFail)
{
    std::int32_t highest = LayoutOf<TypeParam>().highestVersion;
    Bytes newer = StoredAtVersion<TypeParam>(highest);
    newer[0] = static_cast<std::uint8_t>(highest + 1);
    EXPECT_FALSE(LoadRecord<TypeParam>(newer).has_value());
    Bytes negative = StoredAtVersion<TypeParam>(highest);
    negative[0] = negative[1] = negative[2] = negative[3] = 0xFF;
    EXPECT_FALSE(LoadRecord<TypeParam>(negative).has_value());
}

TYPED_TEST(StoredRecord, TruncatedOrOverlongDataFails)
{
    Bytes saved = SaveRecord(Filled<TypeParam>());
    for (std::size_t length = 1; length < saved.size(); ++length)
        EXPECT_FALSE(LoadRecord<TypeParam>(std::span(saved).first(length)).has_value()) << "length " << length;
    saved.push_back(0);
    EXPECT_FALSE(LoadRecord<TypeParam>(saved).has_value());
}

TYPED_TEST(StoredRecord, LengthReachingPastTheEndFails)
{
    // The last field of every record is a text or a block: give it a length
    // far beyond the data, as hostile data would.
    Bytes saved = SaveRecord(TypeParam{});
    ASSERT_GE(saved.size(), 8u);
    std::size_t lastLength = saved.size() - 4;
    if constexpr (std::is_same_v<TypeParam, TransLabelProperties>)
        lastLength -= TypeParam{}.Caption.size();  // the default caption is not empty
    for (std::uint32_t length : {0x7FFFFFFFu, 0xFFFFFFFFu, 1u}) {
        Bytes damaged = saved;
        for (int i = 0; i < 4; ++i)
            damaged[lastLength + i] = static_cast<std::uint8_t>(length >> (8 * i));
        EXPECT_FALSE(LoadRecord<TypeParam>(damaged).has_value()) << "length " << length;
    }
}

}  // namespace
