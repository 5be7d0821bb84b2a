// The styles a report list and a status bar are created with, and the right
// edges of a status bar's parts.

#include <gtest/gtest.h>

#include <vector>

#include "units/listview/ListViewStyles.h"
#include "units/statusbar/StatusBarLayout.h"

namespace {

using namespace vellumry::units;

ListViewProperties Report()
{
    ListViewProperties p;
    p.ViewType = kReportView;
    return p;
}

TEST(ListViewStyles, TheStartFormsListIsAReportWithFullRowsAndGridLines)
{
    ListViewProperties p = Report();
    p.FullRowSelect = 1;
    p.GridLines = 1;
    ListViewStyles styles = StylesOf(p);
    EXPECT_EQ(styles.style, LVS_REPORT | LVS_SINGLESEL);
    EXPECT_EQ(styles.exStyle, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
}

TEST(ListViewStyles, AHiddenHeaderTakesNoHeaderBitsButRowBitsStay)
{
    ListViewProperties p = Report();
    p.HideColumnHeader = 1;
    p.ClickableHeader = 0;
    p.HeaderDragDrop = 1;
    p.FullRowSelect = 1;
    ListViewStyles styles = StylesOf(p);
    EXPECT_TRUE(styles.style & LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(styles.style & LVS_NOSORTHEADER);
    EXPECT_FALSE(styles.exStyle & LVS_EX_HEADERDRAGDROP);
    EXPECT_TRUE(styles.exStyle & LVS_EX_FULLROWSELECT);

    p.HideColumnHeader = 0;
    styles = StylesOf(p);
    EXPECT_TRUE(styles.style & LVS_NOSORTHEADER);
    EXPECT_TRUE(styles.exStyle & LVS_EX_HEADERDRAGDROP);
}

TEST(ListViewStyles, IconViewBitsOnlyInIconViews)
{
    ListViewProperties p;
    p.ViewType = 1;
    p.IconAlignment = 1;
    p.LabelWrap = 0;
    p.GridLines = 1;  // a report-view bit
    ListViewStyles styles = StylesOf(p);
    EXPECT_EQ(styles.style & LVS_TYPEMASK, LVS_SMALLICON);
    EXPECT_TRUE(styles.style & LVS_ALIGNLEFT);
    EXPECT_TRUE(styles.style & LVS_AUTOARRANGE);
    EXPECT_TRUE(styles.style & LVS_NOLABELWRAP);
    EXPECT_FALSE(styles.exStyle & LVS_EX_GRIDLINES);

    p.ViewType = 2;
    styles = StylesOf(p);
    EXPECT_EQ(styles.style & LVS_TYPEMASK, LVS_LIST);
    EXPECT_FALSE(styles.style & (LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP));
}

TEST(ListViewStyles, HotTrackingSortingAndTheOtherSwitches)
{
    ListViewProperties p;
    p.HotTracking = 1;
    p.UnderlineCold = 0;
    p.SortOrder = 2;
    p.EditLabels = 1;
    p.CheckBoxes = 1;
    p.FlatScrollBars = 1;
    p.SingleSelection = 0;
    p.ShowSelectionAlways = 1;
    ListViewStyles styles = StylesOf(p);
    EXPECT_EQ(styles.style, LVS_ICON | LVS_AUTOARRANGE | LVS_EDITLABELS | LVS_SORTDESCENDING | LVS_SHOWSELALWAYS);
    EXPECT_EQ(styles.exStyle, LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT |
                                  LVS_EX_CHECKBOXES | LVS_EX_FLATSB | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
    p.HotTracking = 0;  // the underline switches go with hot tracking
    EXPECT_FALSE(StylesOf(p).exStyle & (LVS_EX_UNDERLINEHOT | LVS_EX_TRACKSELECT));
}

std::vector<std::int32_t> EdgesOf(std::vector<std::int32_t> widths)
{
    std::vector<StatusBarPart> parts;
    for (std::int32_t width : widths)
        parts.push_back(StatusBarPart{width, 0, -1, "", ""});
    return PartEdges(parts);
}

TEST(StatusBarLayout, EdgesAreRunningSumsUpToAPartReachingTheRightEdge)
{
    EXPECT_EQ(EdgesOf({100, -1, 50}), (std::vector<std::int32_t>{100, -1, 0}));
    EXPECT_EQ(EdgesOf({100, 20, 30}), (std::vector<std::int32_t>{100, 120, 150}));
    EXPECT_EQ(EdgesOf({-1}), (std::vector<std::int32_t>{-1}));
    EXPECT_TRUE(EdgesOf({}).empty());
    // Stored widths cannot make the sum wrap round.
    EXPECT_EQ(EdgesOf({0x7FFFFFF0, 0x7FFFFFF0}), (std::vector<std::int32_t>{0x7FFFFFF0, 0x7FFFFFFF}));
}

TEST(StatusBarLayout, PositionAndGripChooseTheStyle)
{
    StatusBarProperties p;
    EXPECT_EQ(StatusBarStyle(p), SBT_TOOLTIPS | CCS_BOTTOM);
    p.BarPosition = 1;
    p.SizeGrip = 1;
    EXPECT_EQ(StatusBarStyle(p), SBT_TOOLTIPS | SBARS_SIZEGRIP | CCS_TOP);
    p.BarPosition = 7;  // clamped to 2
    p.SizeGrip = 0;
    EXPECT_EQ(StatusBarStyle(p), SBT_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE);
}

}  // namespace
