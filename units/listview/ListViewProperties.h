#pragma once

// The report list unit's stored property record (versions 0 and 1; 1 is
// written). `Columns` and `InitialRows` hold the record blocks of
// ListViewColumns.h and ListViewRows.h; the three image fields hold image list
// blobs (ImageListBlob.h); `Font` a 60-byte LOGFONTA or nothing.

#include <cstdint>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct ListViewProperties {
    std::int32_t BorderStyle = 1;
    std::int32_t TextColour = 0;
    std::int32_t TextBackColour = 0xFFFFFF;
    std::int32_t BackColour = 0xFFFFFF;
    std::int32_t ViewType = 0;
    std::int32_t IconAlignment = 0;
    std::int32_t AutoArrange = 1;
    std::int32_t LabelWrap = 1;
    std::int32_t HideColumnHeader = 0;
    std::int32_t ClickableHeader = 1;
    std::int32_t FullRowSelect = 0;
    std::int32_t GridLines = 0;
    std::int32_t HeaderDragDrop = 0;
    std::int32_t HotTracking = 0;
    std::int32_t HandCursor = 1;
    std::int32_t UnderlineHot = 1;
    std::int32_t UnderlineCold = 1;
    std::int32_t EditLabels = 0;
    std::int32_t SortOrder = 0;
    std::int32_t CheckBoxes = 0;
    std::int32_t FlatScrollBars = 0;
    std::int32_t SingleSelection = 1;
    std::int32_t CurrentRow = -1;
    std::int32_t ShowSelectionAlways = 0;
    Bytes Font;
    Bytes HeaderImages;
    Bytes NormalImages;
    Bytes Columns;
    Bytes StateImages;
    Bytes InitialRows;

    bool operator==(const ListViewProperties&) const = default;
};

// View types.
inline constexpr std::int32_t kReportView = 3;

template <>
const RecordLayout<ListViewProperties>& LayoutOf<ListViewProperties>();

}  // namespace vellumry::units
