#include <gtest/gtest.h>

#include <vector>

#include "runtime/ByteWriter.h"
#include "tests/support/GbkText.h"
#include "units/statusbar/StatusBarParts.h"

namespace {

using namespace vellumry::units;
// Bytes these tests build and look into; records hold theirs as units::Bytes.
using Bytes = std::vector<std::uint8_t>;
using vellumry::runtime::ByteWriter;

TEST(StatusBarParts, OneDefaultPartTakes18Bytes)
{
    Bytes block = WriteStatusBarParts(std::vector<StatusBarPart>{StatusBarPart{}});
    Bytes expected = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    EXPECT_EQ(block, expected);
    auto parts = ParseStatusBarParts(block);
    ASSERT_TRUE(parts.has_value());
    ASSERT_EQ(parts->size(), 1u);
    EXPECT_EQ((*parts)[0], StatusBarPart{});
}

TEST(StatusBarParts, EveryFieldSurvivesARoundTrip)
{
    std::vector<StatusBarPart> parts = {{100, 256, 2, vellumry::test::Gbk("就绪"), "tip"}, {-1, 512, -1, "", "x"}};
    auto parsed = ParseStatusBarParts(WriteStatusBarParts(parts));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, parts);
    EXPECT_EQ(ParseStatusBarParts({})->size(), 0u);
}

Bytes WithCount(std::int32_t count, const Bytes& rest)
{
    ByteWriter writer;
    writer.PutI32(count);
    writer.PutBytes(rest);
    return writer.Take();
}

TEST(StatusBarParts, DamagedBlocksFail)
{
    Bytes onePart = WriteStatusBarParts(std::vector<StatusBarPart>{StatusBarPart{}});
    Bytes body(onePart.begin() + 4, onePart.end());
    EXPECT_FALSE(ParseStatusBarParts(WithCount(-1, body)).has_value());
    EXPECT_FALSE(ParseStatusBarParts(WithCount(2, body)).has_value());
    // A count no block could hold is refused before anything is reserved.
    EXPECT_FALSE(ParseStatusBarParts(WithCount(0x7FFFFFFF, body)).has_value());
    EXPECT_FALSE(ParseStatusBarParts(WithCount(0, body)).has_value());  // bytes after the last part
    for (std::size_t length = 1; length < onePart.size(); ++length)
        EXPECT_FALSE(ParseStatusBarParts(std::span(onePart).first(length)).has_value()) << "length " << length;
}

}  // namespace
