#pragma once

// The window styles and list-view extended styles a report list is created
// with, from its property record, with the common controls' values.
// Qt-free.

#include <cstdint>

#include "platform/ui/WinUser.h"
#include "units/listview/ListViewProperties.h"

namespace vellumry::units {

inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_SORTASCENDING = 0x0010;
inline constexpr DWORD LVS_SORTDESCENDING = 0x0020;
inline constexpr DWORD LVS_NOLABELWRAP = 0x0080;
inline constexpr DWORD LVS_AUTOARRANGE = 0x0100;
inline constexpr DWORD LVS_EDITLABELS = 0x0200;
inline constexpr DWORD LVS_ALIGNLEFT = 0x0800;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;

inline constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x0002;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
inline constexpr DWORD LVS_EX_TRACKSELECT = 0x0008;
inline constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x0010;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;
inline constexpr DWORD LVS_EX_ONECLICKACTIVATE = 0x0040;
inline constexpr DWORD LVS_EX_FLATSB = 0x0100;
inline constexpr DWORD LVS_EX_INFOTIP = 0x0400;
inline constexpr DWORD LVS_EX_UNDERLINEHOT = 0x0800;
inline constexpr DWORD LVS_EX_UNDERLINECOLD = 0x1000;

struct ListViewStyles {
    DWORD style = 0;     // the list-view bits (LVS_*), without the base styles
    DWORD exStyle = 0;   // the list-view extended styles (LVS_EX_*)
};

// The view type clamped to 0..3 (0 large icons, 1 small icons, 2 list,
// 3 report).
std::int32_t ViewTypeOf(const ListViewProperties& properties);

ListViewStyles StylesOf(const ListViewProperties& properties);

}  // namespace vellumry::units
