#include "units/button/ButtonUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/button/ButtonProperties.h"
#include "units/button/ButtonUnit.h"
#include "units/common/FontFaceName.h"
#include "units/common/UnitTypeRoutines.h"

namespace vellumry::units {
namespace {

void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<ButtonProperties>(RecordBytes(data, length));
    if (!record)
        return;
    visit(context, record->ButtonCaption.c_str());
    if (std::string face = FontFaceName(record->Font); !face.empty())
        visit(context, face.c_str());
}

bool IsDefaultButton(ui::WindowObject* unit)
{
    return static_cast<CButtonUnit*>(unit)->IsDefaultButton();
}

constexpr forms::UnitType kButtonUnitType = {
    .create = UnitTypeRoutines<CButtonUnit>::Create,
    .writeProperty = UnitTypeRoutines<CButtonUnit>::Write,
    .saveProperties = UnitTypeRoutines<CButtonUnit>::Save,
    .readProperty = UnitTypeRoutines<CButtonUnit>::Read,
    .enumerateTexts = EnumerateTexts,
    .isDefaultButton = IsDefaultButton,
};

}  // namespace

void InstallButtonUnitType()
{
    forms::InstallUnitType<kButtonUnitType>(runtime::kButtonType);
}

}  // namespace vellumry::units
