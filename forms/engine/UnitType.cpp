#include "forms/engine/UnitType.h"

namespace vellumry::forms {
namespace {

using detail::UnitOperationCode;

template <typename Routine>
runtime::UnitOperation Erase(Routine routine)
{
    return reinterpret_cast<runtime::UnitOperation>(routine);
}

template <typename Routine>
Routine Restore(const runtime::DataTypeRecord& type, UnitOperationCode code)
{
    return reinterpret_cast<Routine>(type.interfaceRoutine(code));
}

}  // namespace

runtime::UnitOperation detail::Answer(const UnitType& type, std::int32_t code)
{
    switch (code) {
    case kOperationCreate: return Erase(type.create);
    case kOperationWriteProperty: return Erase(type.writeProperty);
    case kOperationSaveProperties: return Erase(type.saveProperties);
    case kOperationReadProperty: return Erase(type.readProperty);
    case kOperationEnumerateTexts: return Erase(type.enumerateTexts);
    case kOperationIsDefaultButton: return Erase(type.isDefaultButton);
    default: return nullptr;
    }
}

UnitType OperationsOf(const runtime::DataTypeRecord* type)
{
    if (!type || !type->interfaceRoutine)
        return {};
    UnitType operations;
    operations.create = Restore<CreateUnitRoutine>(*type, detail::kOperationCreate);
    operations.writeProperty = Restore<WritePropertyRoutine>(*type, detail::kOperationWriteProperty);
    operations.saveProperties = Restore<SavePropertiesRoutine>(*type, detail::kOperationSaveProperties);
    operations.readProperty = Restore<ReadPropertyRoutine>(*type, detail::kOperationReadProperty);
    operations.enumerateTexts = Restore<EnumerateTextsRoutine>(*type, detail::kOperationEnumerateTexts);
    operations.isDefaultButton = Restore<IsDefaultButtonRoutine>(*type, detail::kOperationIsDefaultButton);
    return operations;
}

}  // namespace vellumry::forms
