#pragma once

// Which stored property record each unit type keeps, for code that handles
// records of any unit type (the form builder, the inspector).

#include <type_traits>

#include "runtime/DataTypeTag.h"
#include "units/button/ButtonProperties.h"
#include "units/editbox/EditBoxProperties.h"
#include "units/listview/ListViewProperties.h"
#include "units/picturebox/PictureBoxProperties.h"
#include "units/statusbar/StatusBarProperties.h"
#include "units/translabel/TransLabelProperties.h"
#include "units/window/WindowProperties.h"

namespace vellumry::units {

// Calls visitor(std::type_identity<Record>{}) with the record type of the unit
// type `type`; false, without a call, for a type that keeps no such record.
template <typename Visitor>
bool VisitRecordType(runtime::DataTypeTag type, Visitor&& visitor)
{
    switch (type) {
    case runtime::kWindowType: visitor(std::type_identity<WindowProperties>{}); return true;
    case runtime::kEditBoxType: visitor(std::type_identity<EditBoxProperties>{}); return true;
    case runtime::kPicBoxType: visitor(std::type_identity<PictureBoxProperties>{}); return true;
    case runtime::kButtonType: visitor(std::type_identity<ButtonProperties>{}); return true;
    case runtime::kStatusBarType: visitor(std::type_identity<StatusBarProperties>{}); return true;
    case runtime::kListViewType: visitor(std::type_identity<ListViewProperties>{}); return true;
    case runtime::kTransLabelType: visitor(std::type_identity<TransLabelProperties>{}); return true;
    default: return false;
    }
}

}  // namespace vellumry::units
