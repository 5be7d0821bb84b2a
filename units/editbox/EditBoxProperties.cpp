#include "units/editbox/EditBoxProperties.h"

namespace vellumry::units {
namespace {

using E = EditBoxProperties;

constexpr RecordField<E> kFields[] = {
    {"BorderStyle", &E::BorderStyle},
    {"TextColour", &E::TextColour},
    {"BackColour", &E::BackColour},
    {"HideSelection", &E::HideSelection},
    {"MaxLength", &E::MaxLength},
    {"MultiLine", &E::MultiLine},
    {"ScrollBars", &E::ScrollBars},
    {"TextAlignment", &E::TextAlignment},
    {"InputMode", &E::InputMode},
    {"PasswordChar", &E::PasswordChar},
    {"LetterCase", &E::LetterCase},
    {"SpinMode", &E::SpinMode},
    {"SpinMin", &E::SpinMin},
    {"SpinMax", &E::SpinMax},
    {"SelectionStart", &E::SelectionStart},
    {"SelectionLength", &E::SelectionLength},
    {"Font", &E::Font, 0, BlockContent::Font},
    {"Content", &E::Content},
    {"BoundUnit1", &E::BoundUnit1, 2},
    {"BoundUnit2", &E::BoundUnit2, 2},
};

constexpr RecordLayout<E> kLayout{"EditBoxProperties", 2, kFields};

}  // namespace

template <>
const RecordLayout<EditBoxProperties>& LayoutOf<EditBoxProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
