#include "units/translabel/TransLabelProperties.h"

namespace vellumry::units {
namespace {

using T = TransLabelProperties;

constexpr RecordField<T> kFields[] = {
    {"TextEffect", &T::TextEffect},
    {"TextColour", &T::TextColour},
    {"HorizontalAlignment", &T::HorizontalAlignment},
    {"VerticalAlignment", &T::VerticalAlignment},
    {"WordWrap", &T::WordWrap},
    {"Font", &T::Font, 0, BlockContent::Font},
    {"Caption", &T::Caption},
};

constexpr RecordLayout<T> kLayout{"TransLabelProperties", 1, kFields};

}  // namespace

template <>
const RecordLayout<TransLabelProperties>& LayoutOf<TransLabelProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
