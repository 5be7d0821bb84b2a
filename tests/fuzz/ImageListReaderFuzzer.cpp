// Fuzz target: image lists read from their blobs (the stream head, the
// colour and mask bitmaps, the images cut from the sheet).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "units/listview/ImageListReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto list = vellumry::units::ReadImageList(std::span(data, size));
    if (!list)
        return 0;
    if (list->width == 0 || list->height == 0)
        std::abort();
    const std::size_t bytes = std::size_t{list->width} * list->height * 4;
    for (const auto& image : list->images) {
        if (image.size() != bytes)
            std::abort();
        for (std::size_t at = 3; at < image.size(); at += 4)
            if (image[at] != 0 && image[at] != 0xFF)
                std::abort();
    }
    return 0;
}
