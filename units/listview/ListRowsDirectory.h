#pragma once

// Where workers find the rows of a report list without the window thread:
// each list unit enters its shared rows here when it is made and takes them
// out when its window goes, so a worker that finds rows here acts on the
// rows of a unit that existed when it looked. A unit that is not here is
// reached the slow way, on the window thread, which also reports a unit
// that does not exist. Qt-free; any thread.

#include <memory>

#include "forms/description/Identifiers.h"
#include "units/listview/SharedListRows.h"

namespace vellumry::units {

void RegisterListRows(forms::FormId formId, forms::UnitId unitId, std::shared_ptr<SharedListRows> rows);
// Takes the entry out only while it still holds `rows` (a unit made again
// under the same identifiers has entered its own).
void UnregisterListRows(forms::FormId formId, forms::UnitId unitId, const SharedListRows* rows);
// Null when no list unit of these identifiers exists.
std::shared_ptr<SharedListRows> FindListRows(forms::FormId formId, forms::UnitId unitId);

}  // namespace vellumry::units
