// Fuzz target: the PCX reader, 8-bit and 1-bit.

#include <cstddef>
#include <cstdint>
#include <span>

#include "tests/fuzz/PictureInvariants.h"
#include "units/picture/private/PcxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto picture = vellumry::units::DecodePcx(std::span(data, size));
    if (picture)
        vellumry::test::CheckPicture(*picture);
    return 0;
}
