#pragma once

// The picture box unit type's operations, installed into the support-library
// table.

namespace vellumry::units {

void InstallPictureBoxUnitType();

}  // namespace vellumry::units
