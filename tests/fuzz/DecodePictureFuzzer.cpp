// Fuzz target: DecodePicture over any bytes, through whichever reader the
// first bytes choose (JPEG and PNG through their libraries included).

#include <cstddef>
#include <cstdint>
#include <span>

#include "tests/fuzz/PictureInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    auto picture = vellumry::units::DecodePicture(bytes);
    if (picture) {
        if (picture->kind != vellumry::units::DetectPictureKind(bytes))
            std::abort();
        vellumry::test::CheckPicture(*picture);
    }
    return 0;
}
