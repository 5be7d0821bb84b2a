#pragma once

// The status bar unit type's operations, installed into the support-library
// table.

namespace vellumry::units {

void InstallStatusBarUnitType();

}  // namespace vellumry::units
