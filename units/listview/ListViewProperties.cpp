#include "units/listview/ListViewProperties.h"

namespace vellumry::units {
namespace {

using L = ListViewProperties;

constexpr RecordField<L> kFields[] = {
    {"BorderStyle", &L::BorderStyle},
    {"TextColour", &L::TextColour},
    {"TextBackColour", &L::TextBackColour},
    {"BackColour", &L::BackColour},
    {"ViewType", &L::ViewType},
    {"IconAlignment", &L::IconAlignment},
    {"AutoArrange", &L::AutoArrange},
    {"LabelWrap", &L::LabelWrap},
    {"HideColumnHeader", &L::HideColumnHeader},
    {"ClickableHeader", &L::ClickableHeader},
    {"FullRowSelect", &L::FullRowSelect},
    {"GridLines", &L::GridLines},
    {"HeaderDragDrop", &L::HeaderDragDrop},
    {"HotTracking", &L::HotTracking},
    {"HandCursor", &L::HandCursor},
    {"UnderlineHot", &L::UnderlineHot},
    {"UnderlineCold", &L::UnderlineCold},
    {"EditLabels", &L::EditLabels},
    {"SortOrder", &L::SortOrder},
    {"CheckBoxes", &L::CheckBoxes},
    {"FlatScrollBars", &L::FlatScrollBars},
    {"SingleSelection", &L::SingleSelection},
    {"CurrentRow", &L::CurrentRow},
    {"ShowSelectionAlways", &L::ShowSelectionAlways},
    {"Font", &L::Font, 0, BlockContent::Font},
    {"HeaderImages", &L::HeaderImages, 0, BlockContent::ImageList},
    {"NormalImages", &L::NormalImages, 0, BlockContent::ImageList},
    {"Columns", &L::Columns, 0, BlockContent::Columns},
    {"StateImages", &L::StateImages, 0, BlockContent::ImageList},
    {"InitialRows", &L::InitialRows, 0, BlockContent::Rows},
};

constexpr RecordLayout<L> kLayout{"ListViewProperties", 1, kFields};

}  // namespace

template <>
const RecordLayout<ListViewProperties>& LayoutOf<ListViewProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
