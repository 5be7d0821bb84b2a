// Copy-on-write blocks and the shared bytes they lend: contents, the
// independence of copies, what a write costs, and borrowing.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "runtime/base/CopyOnWriteBlock.h"
#include "runtime/base/SharedBytes.h"

namespace {

using vellumry::runtime::CopyOnWriteBlock;
using vellumry::runtime::SharedBytes;

// A few pages: bytes of the executable are mapped from its file at any size.
constexpr std::size_t kEmbeddedSize = 5 * 4096 + 123;

constexpr std::array<std::uint8_t, kEmbeddedSize> Pattern()
{
    std::array<std::uint8_t, kEmbeddedSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// Read-only bytes in this executable's file, as the embedded template is.
constexpr std::array<std::uint8_t, kEmbeddedSize> kEmbedded = Pattern();

std::vector<std::uint8_t> HeapPattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{3});
    return bytes;
}

bool Equal(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::ranges::equal(a, b);
}

struct Source {
    const char* name;
    std::vector<std::uint8_t> (*bytes)();
    bool sharesPages;
};

class CopyOnWrite : public ::testing::TestWithParam<Source> {};

TEST_P(CopyOnWrite, CopiesStartEqualAndWritesStayInTheirBlock)
{
    std::vector<std::uint8_t> expected = GetParam().bytes();
    std::span<const std::uint8_t> source = expected;
    if (expected.size() == kEmbedded.size() && Equal(expected, kEmbedded))
        source = kEmbedded;  // from the executable itself
    auto block = CopyOnWriteBlock::Of(source);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->SharesPages(), GetParam().sharesPages);
    EXPECT_NE(block->Bytes().data(), source.data());
    EXPECT_TRUE(Equal(block->Bytes(), expected));

    const std::uint8_t word[] = {0xDE, 0xAD, 0xBE, 0xEF};
    ASSERT_TRUE(block->Write(100, word));
    auto copy = block->Copy();
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->Write(expected.size() - 4, word));

    std::vector<std::uint8_t> inBlock = expected;
    std::copy(std::begin(word), std::end(word), inBlock.begin() + 100);
    std::vector<std::uint8_t> inCopy = inBlock;
    std::copy(std::begin(word), std::end(word), inCopy.end() - 4);
    EXPECT_TRUE(Equal(block->Bytes(), inBlock));
    EXPECT_TRUE(Equal(copy->Bytes(), inCopy));
    EXPECT_TRUE(Equal(source, expected)) << "the source is never written";

    EXPECT_FALSE(block->Write(expected.size() - 3, word));
    EXPECT_FALSE(block->Write(expected.size() + 1, {}));
    if (GetParam().sharesPages) {
        EXPECT_EQ(block->WrittenPages(), 1u);
        EXPECT_EQ(copy->WrittenPages(), 2u) << "the page copied over, and its own";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CopyOnWrite,
    ::testing::Values(Source{"Executable", [] { return std::vector<std::uint8_t>(kEmbedded.begin(), kEmbedded.end()); },
                             true},
                      Source{"LargeHeapBlock", [] { return HeapPattern(3 * 1024 * 1024 + 17); }, true},
                      Source{"SmallHeapBlock", [] { return HeapPattern(1000); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyOnWriteBlock, AnAdoptedVectorIsNotCopied)
{
    std::vector<std::uint8_t> bytes = HeapPattern(5000);
    const std::uint8_t* data = bytes.data();
    auto block = CopyOnWriteBlock::Adopt(std::move(bytes));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Bytes().data(), data);
    EXPECT_FALSE(block->SharesPages());
    auto empty = CopyOnWriteBlock::Of({});
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->Bytes().empty());
}

TEST(SharedBytes, BorrowingSharesALendersBytesAndCopiesOthers)
{
    auto block = CopyOnWriteBlock::Of(HeapPattern(4096));
    ASSERT_NE(block, nullptr);
    auto inside = block->Bytes().subspan(10, 100);
    SharedBytes borrowed = SharedBytes::Borrow(inside);
    EXPECT_EQ(borrowed.data(), inside.data());
    EXPECT_EQ(borrowed.size(), 100u);

    // A range that reaches past the lender's end is not its to lend.
    std::vector<std::uint8_t> outside = HeapPattern(64);
    SharedBytes copied = SharedBytes::Borrow(outside);
    EXPECT_NE(copied.data(), outside.data());
    EXPECT_EQ(copied, SharedBytes(outside));

    // The borrower keeps the lender's bytes alive.
    std::vector<std::uint8_t> expected(inside.begin(), inside.end());
    block.reset();
    EXPECT_TRUE(Equal(borrowed, expected));
    EXPECT_TRUE(SharedBytes::Borrow({}).empty());
}

TEST(SharedBytes, EqualityIsByContent)
{
    SharedBytes a{1, 2, 3};
    SharedBytes b(std::vector<std::uint8_t>{1, 2, 3});
    SharedBytes shorter{1, 2};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, shorter);
    EXPECT_EQ(SharedBytes(), SharedBytes(std::vector<std::uint8_t>{}));
    SharedBytes same = a;
    EXPECT_EQ(same.data(), a.data());
}

}  // namespace
