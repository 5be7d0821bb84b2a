// Fuzz target: the BMP reader (and the DIB reader under it).

#include <cstddef>
#include <cstdint>
#include <span>

#include "tests/fuzz/PictureInvariants.h"
#include "units/picture/private/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto picture = vellumry::units::DecodeBmp(std::span(data, size));
    if (picture) {
        if (picture->kind != vellumry::units::PictureKind::Bmp)
            std::abort();
        vellumry::test::CheckPicture(*picture);
    }
    return 0;
}
