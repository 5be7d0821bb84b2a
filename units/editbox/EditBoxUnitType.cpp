#include "units/editbox/EditBoxUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/FontFaceName.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/editbox/EditBoxProperties.h"
#include "units/editbox/EditBoxUnit.h"

namespace vellumry::units {
namespace {

void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<EditBoxProperties>(RecordBytes(data, length));
    if (!record)
        return;
    std::string face = FontFaceName(record->Font);
    for (const std::string* text : {&record->Content, &face, &record->BoundUnit1, &record->BoundUnit2})
        if (!text->empty())
            visit(context, text->c_str());
}

constexpr forms::UnitType kEditBoxUnitType = {
    .create = UnitTypeRoutines<CEditBoxUnit>::Create,
    .writeProperty = UnitTypeRoutines<CEditBoxUnit>::Write,
    .saveProperties = UnitTypeRoutines<CEditBoxUnit>::Save,
    .readProperty = UnitTypeRoutines<CEditBoxUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallEditBoxUnitType()
{
    forms::InstallUnitType<kEditBoxUnitType>(runtime::kEditBoxType);
}

}  // namespace vellumry::units
