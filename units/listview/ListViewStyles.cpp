#include "units/listview/ListViewStyles.h"

#include <algorithm>

namespace vellumry::units {

std::int32_t ViewTypeOf(const ListViewProperties& properties)
{
    return std::clamp(properties.ViewType, 0, kReportView);
}

ListViewStyles StylesOf(const ListViewProperties& p)
{
    ListViewStyles styles;
    std::int32_t view = ViewTypeOf(p);
    constexpr DWORD kViewBits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    styles.style = kViewBits[view];
    if (view == 0 || view == 1) {
        if (p.IconAlignment == 1)
            styles.style |= LVS_ALIGNLEFT;
        if (p.AutoArrange)
            styles.style |= LVS_AUTOARRANGE;
        if (!p.LabelWrap)
            styles.style |= LVS_NOLABELWRAP;
    }
    if (view == kReportView) {
        if (p.HideColumnHeader) {
            styles.style |= LVS_NOCOLUMNHEADER;
        } else {
            if (!p.ClickableHeader)
                styles.style |= LVS_NOSORTHEADER;
            if (p.HeaderDragDrop)
                styles.exStyle |= LVS_EX_HEADERDRAGDROP;
        }
        if (p.FullRowSelect)
            styles.exStyle |= LVS_EX_FULLROWSELECT;
        if (p.GridLines)
            styles.exStyle |= LVS_EX_GRIDLINES;
    }
    if (p.EditLabels)
        styles.style |= LVS_EDITLABELS;
    if (p.SortOrder == 1)
        styles.style |= LVS_SORTASCENDING;
    else if (p.SortOrder == 2)
        styles.style |= LVS_SORTDESCENDING;
    if (p.SingleSelection)
        styles.style |= LVS_SINGLESEL;
    if (p.ShowSelectionAlways)
        styles.style |= LVS_SHOWSELALWAYS;
    if (p.HotTracking) {
        styles.exStyle |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
        if (p.UnderlineHot)
            styles.exStyle |= LVS_EX_UNDERLINEHOT;
        if (p.UnderlineCold)
            styles.exStyle |= LVS_EX_UNDERLINECOLD;
    }
    if (p.CheckBoxes)
        styles.exStyle |= LVS_EX_CHECKBOXES;
    if (p.FlatScrollBars)
        styles.exStyle |= LVS_EX_FLATSB;
    styles.exStyle |= LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
    return styles;
}

}  // namespace vellumry::units
