#pragma once

// The transparent label unit type's operations, installed into the
// support-library table.

namespace vellumry::units {

void InstallTransLabelUnitType();

}  // namespace vellumry::units
