#pragma once

// The button unit type's operations, installed into the support-library
// table.

namespace vellumry::units {

void InstallButtonUnitType();

}  // namespace vellumry::units
