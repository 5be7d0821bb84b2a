// Memory for large blocks: mappings kept for reuse when given back, and
// under AddressSanitizer the bytes past a block and a given-back block are
// unaddressable, as they are for heap blocks.

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstdint>

#include "platform/base/LargeBlocks.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELLUMRY_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLUMRY_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

TEST(LargeBlocks, ReusesAMappingGivenBackForTheNextOfItsSize)
{
    const std::size_t bytes = std::size_t{3} << 20;
    void* first = vellumry::base::AllocateLargeBlock(bytes);
    static_cast<std::uint8_t*>(first)[bytes - 1] = 7;
    vellumry::base::FreeLargeBlock(first, bytes);
    void* second = vellumry::base::AllocateLargeBlock(bytes - 100);  // the same whole huge pages
    EXPECT_EQ(second, first);
    static_cast<std::uint8_t*>(second)[bytes - 101] = 8;
    vellumry::base::FreeLargeBlock(second, bytes - 100);
    // A block past the largest kept size goes back to the system at once.
    const std::size_t huge = std::size_t{40} << 20;
    void* large = vellumry::base::AllocateLargeBlock(huge);
    static_cast<std::uint8_t*>(large)[huge - 1] = 9;
    vellumry::base::FreeLargeBlock(large, huge);
    EXPECT_EQ(msync(large, 4096, MS_ASYNC), -1) << "the mapping is still there";
}

#if defined(VELLUMRY_ADDRESS_SANITIZER)
TEST(LargeBlocksDeathTest, ReadsPastTheEndAndAfterReleaseAreReported)
{
    const std::size_t bytes = (std::size_t{1} << 20) + 5;
    auto* block = static_cast<volatile std::uint8_t*>(vellumry::base::AllocateLargeBlock(bytes));
    block[bytes - 1] = 1;  // the last byte is the block's own
    EXPECT_DEATH((void)block[bytes], "AddressSanitizer");
    vellumry::base::FreeLargeBlock(const_cast<std::uint8_t*>(block), bytes);
    EXPECT_DEATH((void)block[0], "AddressSanitizer");
}
#endif

}  // namespace
