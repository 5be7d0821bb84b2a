#include "units/window/WindowUnitType.h"

#include "forms/engine/UnitType.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnit.h"

namespace vellumry::units {
namespace {

ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent, std::int32_t,
                         HMENU, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                         std::uint32_t formId, std::uint32_t unitId, std::int32_t embedded, std::int32_t)
{
    CWinFormUnit::CreateArguments arguments;
    arguments.record = RecordBytes(data, length);
    arguments.baseStyle = style;
    arguments.parent = parent;
    arguments.rect = {left, top, left + width, top + height};
    arguments.formId = formId;
    arguments.unitId = unitId;
    arguments.embedded = embedded != 0;
    return CWinFormUnit::Create(arguments);
}

void EnumerateTexts(const std::uint8_t* data, std::int32_t length, forms::TextVisitor visit, void* context)
{
    auto record = LoadRecord<WindowProperties>(RecordBytes(data, length));
    if (!record)
        return;
    for (const std::string* text : {&record->Caption, &record->HelpFile, &record->WindowClassName})
        if (!text->empty())
            visit(context, text->c_str());
}

constexpr forms::UnitType kWindowUnitType = {
    .create = Create,
    .writeProperty = UnitTypeRoutines<CWinFormUnit>::Write,
    .saveProperties = UnitTypeRoutines<CWinFormUnit>::Save,
    .readProperty = UnitTypeRoutines<CWinFormUnit>::Read,
    .enumerateTexts = EnumerateTexts,
};

}  // namespace

void InstallWindowUnitType()
{
    forms::InstallUnitType<kWindowUnitType>(runtime::kWindowType);
}

}  // namespace vellumry::units
