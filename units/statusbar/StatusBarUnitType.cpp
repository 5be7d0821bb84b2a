#include "units/statusbar/StatusBarUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/FontFaceName.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/statusbar/StatusBarParts.h"
#include "units/statusbar/StatusBarProperties.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::units {
namespace {

// The font's face name, then each part's text and tip text.
void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<StatusBarProperties>(RecordBytes(data, length));
    if (!record)
        return;
    if (std::string face = FontFaceName(record->Font); !face.empty())
        visit(context, face.c_str());
    auto parts = ParseStatusBarParts(record->Parts);
    if (!parts)
        return;
    for (const StatusBarPart& part : *parts)
        for (const std::string* text : {&part.Text, &part.TipText})
            if (!text->empty())
                visit(context, text->c_str());
}

constexpr forms::UnitType kStatusBarUnitType = {
    .create = UnitTypeRoutines<CStatusBarUnit>::Create,
    .writeProperty = UnitTypeRoutines<CStatusBarUnit>::Write,
    .saveProperties = UnitTypeRoutines<CStatusBarUnit>::Save,
    .readProperty = UnitTypeRoutines<CStatusBarUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallStatusBarUnitType()
{
    forms::InstallUnitType<kStatusBarUnitType>(runtime::kStatusBarType);
}

}  // namespace vellumry::units
