// The program icon: the icon directory and every image's DIB header agree
// with each other and with the file, and each AND mask matches its alpha.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/tools/assets/AssetBytes.h"

namespace {

using namespace vellumry::test;

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

struct Entry {
    int size = 0;
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
};

std::uint32_t MaskRowBytes(int size) { return static_cast<std::uint32_t>((size + 31) / 32 * 4); }

class IconFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_icon = ReadAsset("vellumry.ico");
        ASSERT_GE(m_icon.size(), kHeaderSize);
        ASSERT_EQ(U16At(m_icon, 0), 0u) << "reserved";
        ASSERT_EQ(U16At(m_icon, 2), 1u) << "resource type (1 = icon)";
        const std::uint32_t count = U16At(m_icon, 4);
        ASSERT_GE(count, 2u);
        ASSERT_GE(m_icon.size(), kHeaderSize + count * kEntrySize);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = kHeaderSize + i * kEntrySize;
            const std::uint32_t width = U8At(m_icon, at);
            m_entries.push_back({width == 0 ? 256 : static_cast<int>(width), U32At(m_icon, at + 8),
                                 U32At(m_icon, at + 12)});
        }
    }

    std::string m_icon;
    std::vector<Entry> m_entries;
};

TEST_F(IconFile, HoldsTheSmallAndBigIconSizesWithBigLast)
{
    std::set<int> sizes;
    for (const Entry& e : m_entries)
        sizes.insert(e.size);
    EXPECT_TRUE(sizes.count(16)) << "no 16-pixel image";
    EXPECT_TRUE(sizes.count(32)) << "no 32-pixel image";
    EXPECT_EQ(sizes.size(), m_entries.size()) << "a size appears twice";
    // A reader that finds no entry of fewer than 256 colours takes the last one.
    EXPECT_EQ(m_entries.back().size, 32);
}

TEST_F(IconFile, DirectoryEntriesDescribe32BitImagesLaidOutBackToBack)
{
    std::size_t expectedOffset = kHeaderSize + m_entries.size() * kEntrySize;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        const std::size_t at = kHeaderSize + i * kEntrySize;
        SCOPED_TRACE("entry " + std::to_string(i) + ", " + std::to_string(e.size) + " pixels");
        EXPECT_EQ(U8At(m_icon, at + 1), U8At(m_icon, at)) << "not square";
        EXPECT_EQ(U8At(m_icon, at + 2), 0u) << "colour count of a 32-bit image";
        EXPECT_EQ(U8At(m_icon, at + 3), 0u) << "reserved";
        EXPECT_EQ(U16At(m_icon, at + 4), 1u) << "planes";
        EXPECT_EQ(U16At(m_icon, at + 6), 32u) << "bits per pixel";
        const auto side = static_cast<std::uint32_t>(e.size);
        EXPECT_EQ(e.bytes, kInfoHeaderSize + side * side * 4 + MaskRowBytes(e.size) * side);
        EXPECT_EQ(e.offset, expectedOffset);
        expectedOffset = e.offset + e.bytes;
    }
    EXPECT_EQ(expectedOffset, m_icon.size()) << "images do not end where the file does";
}

TEST_F(IconFile, EachDibHeaderMatchesItsEntry)
{
    for (const Entry& e : m_entries) {
        SCOPED_TRACE(std::to_string(e.size) + " pixels");
        ASSERT_LE(static_cast<std::size_t>(e.offset) + e.bytes, m_icon.size());
        const std::size_t at = e.offset;
        EXPECT_EQ(U32At(m_icon, at), kInfoHeaderSize) << "header size";
        EXPECT_EQ(I32At(m_icon, at + 4), e.size) << "width";
        EXPECT_EQ(I32At(m_icon, at + 8), 2 * e.size) << "height counts colour and mask rows";
        EXPECT_EQ(U16At(m_icon, at + 12), 1u) << "planes";
        EXPECT_EQ(U16At(m_icon, at + 14), 32u) << "bits per pixel";
        EXPECT_EQ(U32At(m_icon, at + 16), 0u) << "compression";
        EXPECT_EQ(U32At(m_icon, at + 20), e.bytes - kInfoHeaderSize) << "image size";
    }
}

TEST_F(IconFile, MaskHidesExactlyTheTransparentPixels)
{
    for (const Entry& e : m_entries) {
        SCOPED_TRACE(std::to_string(e.size) + " pixels");
        ASSERT_LE(static_cast<std::size_t>(e.offset) + e.bytes, m_icon.size());
        const std::size_t pixels = e.offset + kInfoHeaderSize;
        const std::size_t mask = pixels + static_cast<std::size_t>(e.size) * e.size * 4;
        int opaque = 0;
        int mismatches = 0;
        for (int row = 0; row < e.size; ++row) {
            for (int x = 0; x < e.size; ++x) {
                const std::uint32_t alpha = U8At(m_icon, pixels + (static_cast<std::size_t>(row) * e.size + x) * 4 + 3);
                const bool masked = (U8At(m_icon, mask + row * MaskRowBytes(e.size) + x / 8) >> (7 - x % 8)) & 1;
                mismatches += masked != (alpha == 0);
                opaque += alpha == 255;
            }
        }
        EXPECT_EQ(mismatches, 0);
        // The design fills most of the square but leaves its corners clear.
        const double share = static_cast<double>(opaque) / (e.size * e.size);
        EXPECT_GT(share, 0.5);
        EXPECT_LT(share, 0.97);
    }
}

}  // namespace
