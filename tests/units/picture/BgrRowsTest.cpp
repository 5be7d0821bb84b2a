// The row conversion from blue-green-red triples to opaque 32-bit pixels, in
// both of its forms.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "tests/support/PictureFiles.h"
#include "units/picture/private/BgrRows.h"

namespace {

using namespace vellumry::units;

std::uint32_t Expected(const std::uint8_t* triple)
{
    return 0xFF000000u | (std::uint32_t{triple[2]} << 16) | (std::uint32_t{triple[1]} << 8) | triple[0];
}

using RowForm = void (*)(const std::uint8_t*, std::uint32_t*, std::size_t);

// Every width from 1 to 40 (each way through the four-pixel steps and the
// rest), from a source exactly as long as the row, so that a read past its
// end is caught by the address checker; the word after the row is untouched.
void CheckRows(RowForm form)
{
    for (std::size_t width = 1; width <= 40; ++width) {
        std::vector<std::uint8_t> noise = vellumry::test::NoiseBytes(width * 3, static_cast<std::uint32_t>(width));
        auto source = std::make_unique<std::uint8_t[]>(width * 3);
        std::copy(noise.begin(), noise.end(), source.get());
        std::vector<std::uint32_t> target(width + 1, 0x12345678u);
        form(source.get(), target.data(), width);
        for (std::size_t x = 0; x < width; ++x)
            ASSERT_EQ(target[x], Expected(source.get() + 3 * x)) << "width " << width << ", pixel " << x;
        EXPECT_EQ(target[width], 0x12345678u) << "width " << width;
    }
}

TEST(BgrToOpaqueRow, PortableFormGivesEveryPixel)
{
    CheckRows(BgrToOpaqueRowPortable);
}

TEST(BgrToOpaqueRow, ShuffleFormGivesEveryPixel)
{
    if (!HasSsse3())
        GTEST_SKIP() << "the processor has no SSSE3";
    CheckRows(BgrToOpaqueRowSsse3);
}

TEST(BgrToOpaqueRow, ChosenFormGivesEveryPixel)
{
    CheckRows(BgrToOpaqueRow);
}

}  // namespace
