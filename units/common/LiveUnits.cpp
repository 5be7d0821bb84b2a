#include "units/common/LiveUnits.h"

#include <map>

namespace vellumry::units {
namespace {

std::map<ui::WindowObject*, std::unique_ptr<ui::WindowObject>>& Units()
{
    static std::map<ui::WindowObject*, std::unique_ptr<ui::WindowObject>> units;
    return units;
}

}  // namespace

namespace detail {

void Adopt(std::unique_ptr<ui::WindowObject> unit)
{
    ui::WindowObject* raw = unit.get();
    Units()[raw] = std::move(unit);
}

}  // namespace detail

void DisposeUnit(ui::WindowObject* unit)
{
    // Moved out first: the unit's destructor may look at the registry.
    auto node = Units().extract(unit);
}

}  // namespace vellumry::units
