#include <gtest/gtest.h>

#include "units/window/BackgroundLayout.h"

namespace {

using namespace vellumry::units;

const PixelRect kAll{0, 0, 10000, 10000};

TEST(BackgroundLayout, CentredPictureLargerThanTheClientIsScaledDown)
{
    BackgroundLayout layout = LayOutBackground(PictureMode::Centred, 800, 400, 400, 400, kAll);
    ASSERT_EQ(layout.pictures.size(), 1u);
    EXPECT_EQ(layout.pictures[0], (PixelRect{0, 100, 400, 200}));
    EXPECT_FALSE(layout.coversClient);
}

TEST(BackgroundLayout, CentredSmallerPictureKeepsItsSize)
{
    BackgroundLayout layout = LayOutBackground(PictureMode::Centred, 100, 50, 400, 300, kAll);
    EXPECT_EQ(layout.pictures.at(0), (PixelRect{150, 125, 100, 50}));
}

TEST(BackgroundLayout, AtOriginInItsOwnSize)
{
    BackgroundLayout layout = LayOutBackground(PictureMode::AtOrigin, 1000, 20, 300, 300, kAll);
    EXPECT_EQ(layout.pictures.at(0), (PixelRect{0, 0, 1000, 20}));
    EXPECT_FALSE(layout.coversClient);
}

TEST(BackgroundLayout, StretchedCoversTheClient)
{
    BackgroundLayout layout = LayOutBackground(PictureMode::Stretched, 272, 188, 809, 533, kAll);
    EXPECT_EQ(layout.pictures.at(0), (PixelRect{0, 0, 809, 533}));
    EXPECT_TRUE(layout.coversClient);
}

TEST(BackgroundLayout, TilesOnlyWhereTheClipBoxIs)
{
    BackgroundLayout all = LayOutBackground(PictureMode::Tiled, 100, 100, 250, 150, kAll);
    EXPECT_EQ(all.pictures.size(), 6u);  // 3 across, 2 down, the last ones cut by the edges
    EXPECT_TRUE(all.coversClient);
    BackgroundLayout some = LayOutBackground(PictureMode::Tiled, 100, 100, 250, 150, {120, 10, 50, 50});
    ASSERT_EQ(some.pictures.size(), 1u);
    EXPECT_EQ(some.pictures[0], (PixelRect{100, 0, 100, 100}));
}

TEST(BackgroundLayout, EmptyPictureOrClientLaysOutNothing)
{
    EXPECT_TRUE(LayOutBackground(PictureMode::Stretched, 0, 10, 100, 100, kAll).pictures.empty());
    EXPECT_TRUE(LayOutBackground(PictureMode::Tiled, 10, 10, 0, 100, kAll).pictures.empty());
}

}  // namespace
