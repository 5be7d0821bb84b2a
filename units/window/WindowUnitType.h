#pragma once

// The window unit type's operations, installed into the support-library table.

namespace vellumry::units {

void InstallWindowUnitType();

}  // namespace vellumry::units
