#pragma once

// Image-list blobs written by the tests: "MITL", four skipped bytes, the
// stream head, a 24-bit BMP with the images in rows of `columns`, and a
// 1-bit mask BMP when any image has see-through pixels. Fields can be set
// wrong on purpose. Qt-free.

#include <cstdint>
#include <optional>
#include <vector>

#include "tests/support/PictureFiles.h"

namespace vellumry::test {

struct ImageListDraft {
    int width = 0;
    int height = 0;
    // Per image, width × height colours, rows top down.
    std::vector<std::vector<Rgb>> images;
    // Per image, the see-through pixels; empty: no mask at all.
    std::vector<std::vector<bool>> seeThrough;
    int columns = 4;
    std::optional<std::uint16_t> count;  // default: the number of images
    std::uint16_t version = 0x0101;
    std::uint32_t background = 0xFFFFFFFF;
    bool maskFlagWithoutMask = false;
};

// The stream alone, and the blob around it.
Bytes ImageListStreamBytes(const ImageListDraft& draft);
Bytes ImageListBlobBytes(const ImageListDraft& draft);

// `count` images of one colour each.
ImageListDraft PlainImages(int width, int height, const std::vector<Rgb>& colours);

}  // namespace vellumry::test
