#include "units/picturebox/PictureBoxProperties.h"

namespace vellumry::units {
namespace {

using P = PictureBoxProperties;

constexpr RecordField<P> kFields[] = {
    {"BorderStyle", &P::BorderStyle},
    {"BackColour", &P::BackColour},
    {"DisplayMode", &P::DisplayMode},
    {"Animate", &P::Animate},
    {"Picture", &P::Picture, 0, BlockContent::Picture},
    {"BoundUnit1", &P::BoundUnit1, 2},
    {"BoundUnit2", &P::BoundUnit2, 2},
};

constexpr RecordLayout<P> kLayout{"PictureBoxProperties", 2, kFields};

}  // namespace

template <>
const RecordLayout<PictureBoxProperties>& LayoutOf<PictureBoxProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
