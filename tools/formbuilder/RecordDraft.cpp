#include "tools/formbuilder/RecordDraft.h"

#include <variant>

#include "tools/formbuilder/FormTokens.h"
#include "units/UnitRecordTypes.h"

namespace vellumry::formbuilder {
namespace {

using Kind = FieldValue::Kind;

FormBuildError WrongValue(std::string_view field, const char* expected)
{
    return FormBuildError(std::string(field) + " takes " + expected);
}

void Assign(std::string_view field, std::int32_t& target, const FieldValue& value)
{
    if (value.kind != Kind::Number)
        throw WrongValue(field, "a number");
    target = static_cast<std::int32_t>(static_cast<std::uint32_t>(value.number));
}

void Assign(std::string_view field, std::int16_t& target, const FieldValue& value)
{
    if (value.kind != Kind::Number || value.number < -32768 || value.number > 65535)
        throw WrongValue(field, "a 16-bit number");
    target = static_cast<std::int16_t>(static_cast<std::uint16_t>(value.number));
}

void Assign(std::string_view field, std::uint8_t& target, const FieldValue& value)
{
    if (value.kind != Kind::Number || value.number < 0 || value.number > 255)
        throw WrongValue(field, "a byte");
    target = static_cast<std::uint8_t>(value.number);
}

void Assign(std::string_view field, std::string& target, const FieldValue& value)
{
    if (value.kind != Kind::Text && value.kind != Kind::Empty)
        throw WrongValue(field, "a text");
    target = value.text;
}

void Assign(std::string_view field, units::Bytes& target, const FieldValue& value)
{
    if (value.kind != Kind::Bytes && value.kind != Kind::Empty)
        throw WrongValue(field, "bytes (asset, hex or empty)");
    target = value.bytes;
}

template <typename Record>
class TypedDraft final : public RecordDraft {
public:
    void Set(std::string_view field, const FieldValue& value) override
    {
        const units::RecordField<Record>* found = units::FindField<Record>(field);
        if (!found)
            throw FormBuildError(std::string(units::LayoutOf<Record>().name) + " has no field " + std::string(field));
        std::visit([&](auto member) { Assign(field, m_record.*member, value); }, found->member);
    }

    std::vector<std::uint8_t> Save() const override { return units::SaveRecord(m_record); }

private:
    Record m_record{};
};

}  // namespace

std::unique_ptr<RecordDraft> MakeRecordDraft(runtime::DataTypeTag type)
{
    std::unique_ptr<RecordDraft> draft;
    units::VisitRecordType(type, [&]<typename Record>(std::type_identity<Record>) {
        draft = std::make_unique<TypedDraft<Record>>();
    });
    return draft;
}

}  // namespace vellumry::formbuilder
