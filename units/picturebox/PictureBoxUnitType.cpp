#include "units/picturebox/PictureBoxUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/picturebox/PictureBoxProperties.h"
#include "units/picturebox/PictureBoxUnit.h"

namespace vellumry::units {
namespace {

void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<PictureBoxProperties>(RecordBytes(data, length));
    if (!record)
        return;
    for (const std::string* text : {&record->BoundUnit1, &record->BoundUnit2})
        if (!text->empty())
            visit(context, text->c_str());
}

constexpr forms::UnitType kPictureBoxUnitType = {
    .create = UnitTypeRoutines<CPicBoxUnit>::Create,
    .writeProperty = UnitTypeRoutines<CPicBoxUnit>::Write,
    .saveProperties = UnitTypeRoutines<CPicBoxUnit>::Save,
    .readProperty = UnitTypeRoutines<CPicBoxUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallPictureBoxUnitType()
{
    forms::InstallUnitType<kPictureBoxUnitType>(runtime::kPicBoxType);
}

}  // namespace vellumry::units
