#include "units/statusbar/StatusBarProperties.h"

namespace vellumry::units {
namespace {

using S = StatusBarProperties;

constexpr RecordField<S> kFields[] = {
    {"BackColour", &S::BackColour},
    {"BarPosition", &S::BarPosition},
    {"SizeGrip", &S::SizeGrip},
    {"Font", &S::Font, 0, BlockContent::Font},
    {"PartImages", &S::PartImages, 0, BlockContent::ImageList},
    {"Parts", &S::Parts, 0, BlockContent::Parts},
};

constexpr RecordLayout<S> kLayout{"StatusBarProperties", 1, kFields};

}  // namespace

template <>
const RecordLayout<StatusBarProperties>& LayoutOf<StatusBarProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
