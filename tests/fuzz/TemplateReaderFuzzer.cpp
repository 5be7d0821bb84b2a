// Fuzz target: the window template reader and everything that walks what it
// accepted: the unit records' accessors, working copies, the error-report
// context and the unit-specific data's record loaders.

#include <cstddef>
#include <cstdint>
#include <span>

#include "forms/description/FormTable.h"
#include "forms/description/TemplateErrorContext.h"
#include "forms/description/UnitRecord.h"
#include "units/UnitRecordTypes.h"

using namespace vellumry;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto table = forms::ReadTemplate(std::span(data, size), forms::kHandlerCodeBase);
    if (!table)
        return 0;
    forms::TemplateErrorContext context(*table);
    for (const forms::TemplateForm& form : table->Forms()) {
        context.FormTag(form.formId);
        auto working = form.units.Copy();
        for (std::int32_t i = 0; i < form.units.Count(); ++i) {
            auto unit = form.units.UnitData(i);
            if (!unit)
                __builtin_trap();  // the reader checked every record
            context.UnitTag(form.formId, unit->unitId);
            forms::EventHandlerOf(unit->data, 0);
            auto fields = forms::DecodeUnit(*unit);
            if (!fields)
                __builtin_trap();
            if (working)
                working->SetObjectSlot(i, 1);
            if (auto specific = forms::UnitSpecificData(unit->data)) {
                units::VisitRecordType(fields->type, [&]<typename Record>(std::type_identity<Record>) {
                    units::LoadRecord<Record>(*specific);
                });
            }
        }
        // The slot writes above stay inside their own records.
        if (working)
            for (std::int32_t i = 0; i < working->Count(); ++i)
                if (!working->UnitData(i))
                    __builtin_trap();
    }
    return 0;
}
