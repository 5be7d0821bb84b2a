#include "units/statusbar/StatusBarUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/statusbar/StatusBarParts.h"
#include "units/statusbar/StatusBarProperties.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::units {
namespace {

ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent,
                         std::int32_t controlId, HMENU, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height, std::uint32_t formId, std::uint32_t unitId, std::int32_t,
                         std::int32_t)
{
    CStatusBarUnit::CreateArguments arguments;
    arguments.record = RecordBytes(data, length);
    arguments.baseStyle = style;
    arguments.parent = parent;
    arguments.controlId = controlId;
    arguments.rect = {left, top, left + width, top + height};
    arguments.formId = formId;
    arguments.unitId = unitId;
    return CStatusBarUnit::Create(arguments);
}

// The font's face name, then each part's text and tip text.
void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<StatusBarProperties>(RecordBytes(data, length));
    if (!record)
        return;
    VisitFontFaceName(record->Font, visit, context);
    auto parts = ParseStatusBarParts(record->Parts);
    if (!parts)
        return;
    for (const StatusBarPart& part : *parts)
        for (const std::string* text : {&part.Text, &part.TipText})
            if (!text->empty())
                visit(context, text->c_str());
}

constexpr forms::UnitType kStatusBarUnitType = {
    .create = Create,
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
