#pragma once

// Reads the image list inside an image-list blob (ImageListBlob.h): the
// common-controls stream format. A 28-byte head (the 16-bit words "IL" and
// version 0x0101, the image count, the capacity, the growth step, the image
// width and height, the background colour, the flags word with 1 for a mask,
// four overlay indexes), then a BMP file holding the images side by side in
// rows of equal columns, and, when the head says so, a second BMP of the
// same size holding their masks (a white mask pixel is see-through).
//
// Every count and size is checked against the bytes where it is read: a
// blob that is not an image list, a head that ends early, a bitmap that does
// not decode or runs past the end of the stream, or a bitmap too small for
// the images the head counts, gives no image list. Qt-free; any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vellumry::units {

struct ImageList {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // 0x00BBGGRR, or 0xFFFFFFFF for none.
    std::uint32_t background = 0xFFFFFFFF;
    // Each image width × height pixels of blue, green, red, alpha, rows top
    // down; alpha is 0 where the mask says see-through, 255 elsewhere.
    std::vector<std::vector<std::uint8_t>> images;

    std::int32_t Count() const { return static_cast<std::int32_t>(images.size()); }
    bool Has(std::int32_t index) const { return index >= 0 && index < Count(); }
};

std::optional<ImageList> ReadImageList(std::span<const std::uint8_t> blob);

}  // namespace vellumry::units
