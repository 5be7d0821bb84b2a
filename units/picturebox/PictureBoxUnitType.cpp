#include "units/picturebox/PictureBoxUnitType.h"

#include <algorithm>

#include "forms/engine/UnitType.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/picturebox/PictureBoxProperties.h"
#include "units/picturebox/PictureBoxUnit.h"

namespace vellumry::units {
namespace {

ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent,
                         std::int32_t controlId, HMENU, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height, std::uint32_t formId, std::uint32_t unitId, std::int32_t flag,
                         std::int32_t)
{
    CPicBoxUnit::CreateArguments arguments;
    arguments.record = RecordBytes(data, length);
    arguments.baseStyle = style;
    arguments.parent = parent;
    arguments.controlId = controlId;
    arguments.rect = {left, top, left + width, top + height};
    arguments.formId = formId;
    arguments.unitId = unitId;
    arguments.creationFlag = flag != 0;
    return CPicBoxUnit::Create(arguments);
}

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
    .create = Create,
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
