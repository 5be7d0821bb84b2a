#pragma once

// The three image lists of a report list as Qt images: the row images (the
// large ones in the icon view, the small ones in every other view), the
// state images drawn before a row's image, and the column header images.
// Each is built from its stored blob; a blob that holds no image list gives
// an empty list. Window thread only.

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct ListViewImageList {
    std::vector<QImage> images;
    QSize size;

    std::int32_t Count() const { return static_cast<std::int32_t>(images.size()); }
    bool Has(std::int32_t index) const { return index >= 0 && index < Count(); }
    // Null for an index without an image.
    QImage At(std::int32_t index) const { return Has(index) ? images[static_cast<std::size_t>(index)] : QImage(); }
};

struct ListViewImages {
    ListViewImageList rows;
    ListViewImageList states;
    ListViewImageList headers;
};

ListViewImageList ImageListOfBlob(const Bytes& blob);

// The state image and the row image side by side, as the row's first cell
// shows them; either may be null.
QImage StateAndRowImage(const QImage& state, const QImage& row);

}  // namespace vellumry::units
