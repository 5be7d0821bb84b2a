// Pixel blocks over memory for large blocks: the large ones on
// huge-page-aligned mappings, small ones from the heap.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/LargeBlocks.h"
#include "units/picture/PixelBlock.h"

namespace {

using namespace vellumry::units;

TEST(PixelBlock, LargeBlocksStartOnAHugePageAndKeepEveryByte)
{
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    for (std::size_t bytes : {vellumry::base::kMappedBlockBytes, vellumry::base::kMappedBlockBytes + 3, std::size_t{5} << 20}) {
        PixelBlock block(bytes, 0);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.data()) % kHugePage, 0u) << bytes;
        for (std::size_t i = 0; i < bytes; ++i)
            block[i] = static_cast<std::uint8_t>(i * 7 + 1);
        PixelBlock copy = block;
        ASSERT_EQ(copy.size(), bytes);
        for (std::size_t i = 0; i < bytes; ++i)
            ASSERT_EQ(copy[i], static_cast<std::uint8_t>(i * 7 + 1)) << "byte " << i << " of " << bytes;
    }
}

TEST(PixelBlock, GivesValuesWhereAskedAndGrowsKeepingThem)
{
    PixelBlock small(100, 0xAB);
    PixelBlock large(vellumry::base::kMappedBlockBytes + 10, 0xCD);
    EXPECT_EQ(std::count(small.begin(), small.end(), 0xAB), 100);
    EXPECT_EQ(std::count(large.begin(), large.end(), 0xCD), static_cast<std::ptrdiff_t>(vellumry::base::kMappedBlockBytes + 10));
    // Growing from a heap block onto a mapping carries the old bytes over.
    small.resize(2 * vellumry::base::kMappedBlockBytes);
    EXPECT_EQ(std::count(small.begin(), small.begin() + 100, 0xAB), 100);
    small.assign(3, 0x01);
    EXPECT_EQ(small, PixelBlock({1, 1, 1}));
}

}  // namespace
