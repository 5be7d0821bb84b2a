#include <gtest/gtest.h>

#include "units/window/WindowStyle.h"

namespace {

using namespace vellumry::units;

WindowStyleSettings Settings(std::int32_t border, bool caption = true, std::int32_t start = 0)
{
    WindowStyleSettings s;
    s.border = border;
    s.hasCaptionText = caption;
    s.startPosition = start;
    return s;
}

WindowPlacementRequest Request()
{
    WindowPlacementRequest r;
    r.rect = {50, 50, 865, 612};
    r.screenWidth = 1920;
    r.screenHeight = 1080;
    return r;
}

struct BorderCase {
    std::int32_t border;
    DWORD styleWanted;
    DWORD styleUnwanted;
    DWORD exStyle;
};

class BorderStyles : public ::testing::TestWithParam<BorderCase> {};

TEST_P(BorderStyles, FrameBitsFollowTheBorder)
{
    const BorderCase& c = GetParam();
    WindowCreation made = ComputeWindowCreation(Settings(c.border), Request());
    EXPECT_EQ(made.style & c.styleWanted, c.styleWanted) << "border " << c.border << " style " << std::hex << made.style;
    EXPECT_EQ(made.style & c.styleUnwanted, 0u) << "border " << c.border << " style " << std::hex << made.style;
    EXPECT_EQ(made.exStyle, c.exStyle) << "border " << c.border;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BorderStyles,
    ::testing::Values(BorderCase{0, WS_CLIPCHILDREN, WS_CAPTION | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME, 0},
                      BorderCase{1, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 0},
                      BorderCase{2, WS_CAPTION | WS_SYSMENU | WS_DLGFRAME, WS_THICKFRAME, 0},
                      BorderCase{3, WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
                      BorderCase{4, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
                      BorderCase{5, WS_THICKFRAME, 0, WS_EX_CLIENTEDGE},
                      BorderCase{6, WS_CAPTION, WS_THICKFRAME, WS_EX_CLIENTEDGE}));

TEST(WindowStyles, BorderZeroHasNoCaptionEvenWithCaptionText)
{
    WindowCreation made = ComputeWindowCreation(Settings(0, true), Request());
    EXPECT_EQ(made.style & WS_CAPTION, 0u);
    EXPECT_EQ(CaptionStyleBits(Settings(0, true)) & WS_CAPTION, 0u);
}

TEST(WindowStyles, CaptionNeedsTextOrControlBox)
{
    WindowStyleSettings s = Settings(2, false);
    s.controlBox = false;
    EXPECT_EQ(ComputeWindowCreation(s, Request()).style & WS_CAPTION, WS_DLGFRAME);  // the frame, no caption
    s.controlBox = true;
    EXPECT_EQ(ComputeWindowCreation(s, Request()).style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    s.hasCaptionText = true;
    s.controlBox = false;
    DWORD style = ComputeWindowCreation(s, Request()).style;
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0u);
}

TEST(WindowStyles, StartPositions)
{
    // Centred: the rectangle moves to the middle of the screen, its size kept.
    WindowCreation centred = ComputeWindowCreation(Settings(2, true, 1), Request());
    EXPECT_EQ(centred.rect.left, (1920 - 815) / 2);
    EXPECT_EQ(centred.rect.top, (1080 - 562) / 2);
    EXPECT_EQ(centred.rect.right - centred.rect.left, 815);
    EXPECT_TRUE(ComputeWindowCreation(Settings(2, true, 2), Request()).style & WS_MINIMIZE);
    // Maximised only with a thick frame: border 2 has none.
    EXPECT_FALSE(ComputeWindowCreation(Settings(2, true, 3), Request()).style & WS_MAXIMIZE);
    EXPECT_TRUE(ComputeWindowCreation(Settings(1, true, 3), Request()).style & WS_MAXIMIZE);
    WindowCreation asStored = ComputeWindowCreation(Settings(2, true, 0), Request());
    EXPECT_EQ(asStored.rect.left, 50);
}

TEST(WindowStyles, EmbeddedAndOwnedWindows)
{
    WindowPlacementRequest embedded = Request();
    embedded.embedded = true;
    WindowCreation child = ComputeWindowCreation(Settings(1, true, 1), embedded);
    EXPECT_TRUE(child.style & WS_CHILD);
    EXPECT_FALSE(child.style & WS_THICKFRAME);
    EXPECT_EQ(child.exStyle & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(child.rect.left, 50);  // not centred

    WindowPlacementRequest owned = Request();
    owned.hasParent = true;
    owned.baseStyle = WS_CHILD;
    WindowCreation popup = ComputeWindowCreation(Settings(2), owned);
    EXPECT_TRUE(popup.style & WS_POPUP);
    EXPECT_FALSE(popup.style & WS_CHILD);
}

TEST(WindowStyles, HiddenOwnerKeepsWindowsOutOfTheTaskbar)
{
    WindowPlacementRequest r = Request();
    r.hiddenOwnerExists = true;
    WindowStyleSettings s = Settings(2);
    EXPECT_FALSE(ComputeWindowCreation(s, r).ownedByHiddenOwner);
    s.showInTaskbar = false;
    EXPECT_TRUE(ComputeWindowCreation(s, r).ownedByHiddenOwner);
    r.hasParent = true;
    EXPECT_FALSE(ComputeWindowCreation(s, r).ownedByHiddenOwner);
    r.hasParent = false;
    r.hiddenOwnerExists = false;
    EXPECT_FALSE(ComputeWindowCreation(s, r).ownedByHiddenOwner);
    s.showInTaskbar = true;
    r.hiddenOwnerExists = true;
    r.ownAllByHiddenOwner = true;
    EXPECT_TRUE(ComputeWindowCreation(s, r).ownedByHiddenOwner);
}

TEST(WindowStyles, CaptionBitsAreReplacedOnlyWhenTheyDiffer)
{
    WindowStyleSettings s = Settings(2);
    bool changed = true;
    DWORD current = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
    EXPECT_EQ(WithCaptionBits(current, s, &changed), current);
    EXPECT_FALSE(changed);
    s.maxButton = true;
    EXPECT_EQ(WithCaptionBits(current, s, &changed), current | WS_MAXIMIZEBOX);
    EXPECT_TRUE(changed);
    s.controlBox = false;
    s.hasCaptionText = false;
    DWORD bare = WithCaptionBits(current, s, &changed);
    EXPECT_EQ(bare & WS_SYSMENU, 0u);
    EXPECT_EQ(bare & WS_CAPTION, WS_DLGFRAME);
    EXPECT_TRUE(bare & WS_VISIBLE);  // other bits stay
}

}  // namespace
