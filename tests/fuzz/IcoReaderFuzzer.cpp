// Fuzz target: the ICO/CUR reader: directory, bitmap images with their
// masks, and PNG-compressed images. The first byte picks icon or cursor and
// the entry width asked for.

#include <cstddef>
#include <cstdint>
#include <span>

#include "tests/fuzz/PictureInvariants.h"
#include "units/picture/private/IcoReader.h"

using namespace vellumry::units;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    PictureKind kind = (data[0] & 1) ? PictureKind::Cur : PictureKind::Ico;
    std::uint8_t iconSize = (data[0] & 2) ? 16 : 32;
    auto picture = DecodeIcon(std::span(data + 1, size - 1), kind, iconSize);
    if (picture) {
        if (picture->kind != kind)
            std::abort();
        vellumry::test::CheckPicture(*picture);
    }
    return 0;
}
