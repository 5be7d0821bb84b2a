#include "forms/description/TemplateWriter.h"

#include <limits>
#include <stdexcept>

#include "runtime/ByteWriter.h"

namespace vellumry::forms {
namespace {

using runtime::ByteWriter;

std::uint32_t Length(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("window template: a length does not fit in 32 bits");
    return static_cast<std::uint32_t>(size);
}

void PutReserved(ByteWriter& writer, int count)
{
    for (int i = 0; i < count; ++i)
        writer.PutU32(0);
}

void PutText(ByteWriter& writer, const std::string& text)
{
    writer.PutU32(Length(text.size()));
    writer.PutBytes(text);
}

std::vector<std::uint8_t> WriteUnitTable(const std::vector<UnitRecordFields>& units)
{
    std::vector<std::vector<std::uint8_t>> records;
    records.reserve(units.size());
    for (const UnitRecordFields& unit : units)
        records.push_back(WriteUnitRecord(unit));

    ByteWriter writer;
    for (const UnitRecordFields& unit : units)
        writer.PutU32(unit.unitId);
    std::size_t offset = 0;
    for (const auto& record : records) {
        writer.PutU32(Length(offset));
        offset += 4 + record.size();
    }
    for (const auto& record : records) {
        writer.PutU32(Length(record.size()));
        writer.PutBytes(record);
    }
    return writer.Take();
}

}  // namespace

std::vector<std::uint8_t> WriteUnitRecord(const UnitRecordFields& unit)
{
    return WriteUnitRecord(unit, unit.specific);
}

std::vector<std::uint8_t> WriteUnitRecord(const UnitRecordFields& unit, std::span<const std::uint8_t> specific)
{
    // The fields before the unit-specific data take a few hundred bytes.
    constexpr std::size_t kFieldsEstimate = 256;
    ByteWriter writer;
    writer.Reserve(kFieldsEstimate + unit.name.size() + unit.tag.size() + unit.mousePointer.size() +
                   8 * unit.events.size() + specific.size());
    writer.PutU32(unit.type);
    writer.PutU32(unit.eventSource);
    PutReserved(writer, 4);
    writer.PutZeroTerminated(unit.name);
    writer.PutZeroTerminated(unit.remark);
    if (unit.menu) {
        PutReserved(writer, 2);
        writer.PutU32(unit.menu->flags);
        writer.PutZeroTerminated(unit.menu->caption);
        writer.PutU32(unit.menu->handler);
        return writer.Take();
    }
    writer.PutU32(unit.objectSlot);
    writer.PutI32(unit.position.left);
    writer.PutI32(unit.position.top);
    writer.PutI32(unit.position.width);
    writer.PutI32(unit.position.height);
    writer.PutU32(unit.cursorSlot);
    writer.PutU32(unit.parent);
    writer.PutU32(Length(unit.children.size()));
    for (UnitId child : unit.children)
        writer.PutU32(child);
    writer.PutU32(Length(unit.mousePointer.size()));
    writer.PutBytes(unit.mousePointer);
    writer.PutZeroTerminated(unit.tag);
    PutReserved(writer, 1);
    writer.PutU32(unit.flags);
    writer.PutI32(unit.tabOrder);
    writer.PutU32(Length(unit.events.size()));
    for (const EventBinding& binding : unit.events) {
        writer.PutI32(binding.event);
        writer.PutU32(binding.handler);
    }
    PutReserved(writer, 5);
    writer.PutBytes(specific);
    return writer.Take();
}

std::vector<std::uint8_t> WriteTemplate(std::span<const FormDescription> forms)
{
    ByteWriter writer;
    writer.PutU32(Length(forms.size() * 8));
    for (const FormDescription& form : forms)
        writer.PutU32(form.formId);
    // Placeholders for the runtime's form pointers.
    PutReserved(writer, static_cast<int>(forms.size()));
    for (const FormDescription& form : forms) {
        writer.PutU32(form.words[0]);
        writer.PutU32(form.words[1]);
        PutText(writer, form.texts[0]);
        PutText(writer, form.texts[1]);
        std::vector<std::uint8_t> table = WriteUnitTable(form.units);
        writer.PutU32(Length(form.units.size()));
        writer.PutU32(Length(table.size()));
        writer.PutBytes(table);
    }
    Length(writer.Size());
    return writer.Take();
}

}  // namespace vellumry::forms
