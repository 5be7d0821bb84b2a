#include "units/button/ButtonProperties.h"

namespace vellumry::units {
namespace {

using B = ButtonProperties;

constexpr RecordField<B> kFields[] = {
    {"DefaultButton", &B::DefaultButton},
    {"HorizontalAlignment", &B::HorizontalAlignment},
    {"VerticalAlignment", &B::VerticalAlignment},
    {"ButtonPicture", &B::ButtonPicture, 0, BlockContent::Picture},
    {"Font", &B::Font, 0, BlockContent::Font},
    {"ButtonCaption", &B::ButtonCaption},
};

constexpr RecordLayout<B> kLayout{"ButtonProperties", 1, kFields};

}  // namespace

template <>
const RecordLayout<ButtonProperties>& LayoutOf<ButtonProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
