#pragma once

// The report list unit type's operations, installed into the support-library
// table.

namespace vellumry::units {

void InstallListViewUnitType();

}  // namespace vellumry::units
