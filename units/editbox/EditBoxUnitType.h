#pragma once

// The edit box unit type's operations, installed into the support-library
// table.

namespace vellumry::units {

void InstallEditBoxUnitType();

}  // namespace vellumry::units
