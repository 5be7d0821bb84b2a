#include "units/translabel/TransLabelUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/FontFaceName.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/translabel/TransLabelProperties.h"
#include "units/translabel/TransLabelUnit.h"

namespace vellumry::units {
namespace {

void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<TransLabelProperties>(RecordBytes(data, length));
    if (!record)
        return;
    visit(context, record->Caption.c_str());
    if (std::string face = FontFaceName(record->Font); !face.empty())
        visit(context, face.c_str());
}

constexpr forms::UnitType kTransLabelUnitType = {
    .create = UnitTypeRoutines<CTransLabelUnit>::Create,
    .writeProperty = UnitTypeRoutines<CTransLabelUnit>::Write,
    .saveProperties = UnitTypeRoutines<CTransLabelUnit>::Save,
    .readProperty = UnitTypeRoutines<CTransLabelUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallTransLabelUnitType()
{
    forms::InstallUnitType<kTransLabelUnitType>(runtime::kTransLabelType);
}

}  // namespace vellumry::units
