#include "automation/AutomationCalls.h"

#include <span>
#include <vector>

#include "platform/kernel/ThreadStop.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::automation::calls {
namespace {

using runtime::CoreCommand;

TypedValue Call(CoreCommand slot, std::span<const TypedValue> arguments)
{
    return runtime::CallCoreSlot(slot, arguments);
}

TypedValue Call(CoreCommand slot, std::initializer_list<TypedValue> arguments)
{
    return runtime::CallCoreSlot(slot, std::span(arguments.begin(), arguments.size()));
}

// Object, member name, then the member arguments.
TypedValue CallMember(CoreCommand slot, ObjectHolder* holder, const char* name,
                      std::initializer_list<TypedValue> arguments)
{
    std::vector<TypedValue> all{ObjectArgument(holder), Text(name)};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return Call(slot, all);
}

TypedValue OptionalIndex(std::optional<std::int32_t> index)
{
    return index ? TypedValue::OfInt(*index) : TypedValue();
}

OwnedObject ObjectResult(const TypedValue& result)
{
    return OwnedObject(result.Pointer<ObjectHolder>());
}

}  // namespace

void ObjectDeleter::operator()(ObjectHolder* holder) const
{
    kernel::StopPointsDeferred deferred;  // a deleter must not throw a stop
    ClearObject(holder);
    runtime::GetRuntimeInterface().runtimeFree(holder);
}

void VariantDeleter::operator()(VARIANT* variant) const
{
    kernel::StopPointsDeferred deferred;
    ClearVariant(variant);
    runtime::GetRuntimeInterface().runtimeFree(variant);
}

OwnedObject NewObject()
{
    auto* holder =
        static_cast<ObjectHolder*>(runtime::GetRuntimeInterface().runtimeAlloc(sizeof(ObjectHolder)));
    *holder = ObjectHolder{nullptr, nullptr};
    return OwnedObject(holder);
}

OwnedVariant NewVariant()
{
    auto* variant = static_cast<VARIANT*>(runtime::GetRuntimeInterface().runtimeAlloc(sizeof(VARIANT)));
    *variant = VARIANT{};
    variant->vt = VT_I4;
    return OwnedVariant(variant);
}

TypedValue Text(const char* text)
{
    return TypedValue::OfPointer(runtime::kTextType, text);
}

TypedValue ObjectArgument(ObjectHolder* holder)
{
    return TypedValue::OfPointer(runtime::kComObjectType, holder);
}

TypedValue VariantArgument(VARIANT* variant)
{
    return TypedValue::OfPointer(runtime::kVariantType, variant);
}

TypedValue ByReference(runtime::DataTypeTag type, void* variable)
{
    return TypedValue::OfPointer(runtime::ByReference(type), variable);
}

bool CreateObject(ObjectHolder* holder, const char* name, const char* library)
{
    if (library)
        return Call(CoreCommand::CreateObject, {ObjectArgument(holder), Text(name), Text(library)}).Bool();
    return Call(CoreCommand::CreateObject, {ObjectArgument(holder), Text(name)}).Bool();
}

void ClearObject(ObjectHolder* holder)
{
    Call(CoreCommand::ClearObject, {ObjectArgument(holder)});
}

bool IsEmptyObject(ObjectHolder* holder)
{
    return Call(CoreCommand::IsEmptyObject, {ObjectArgument(holder)}).Bool();
}

void CopyObject(ObjectHolder* target, ObjectHolder* source)
{
    Call(CoreCommand::CopyObject, {ObjectArgument(target), ObjectArgument(source)});
}

OwnedText ReadTextProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return OwnedText(CallMember(CoreCommand::ReadTextProperty, holder, name, arguments).Pointer<char>());
}

double ReadNumberProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return CallMember(CoreCommand::ReadNumberProperty, holder, name, arguments).Double();
}

OwnedObject ReadObjectProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return ObjectResult(CallMember(CoreCommand::ReadObjectProperty, holder, name, arguments));
}

OwnedVariant ReadProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return OwnedVariant(CallMember(CoreCommand::ReadProperty, holder, name, arguments).Pointer<VARIANT>());
}

bool WriteProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> argumentsAndValue)
{
    return CallMember(CoreCommand::WriteProperty, holder, name, argumentsAndValue).Bool();
}

void CallMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    CallMember(CoreCommand::CallMethod, holder, name, arguments);
}

OwnedText CallTextMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return OwnedText(CallMember(CoreCommand::CallTextMethod, holder, name, arguments).Pointer<char>());
}

OwnedObject CallObjectMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments)
{
    return ObjectResult(CallMember(CoreCommand::CallObjectMethod, holder, name, arguments));
}

bool AssignVariant(VARIANT* variant, const TypedValue& value, std::optional<std::int32_t> index)
{
    return Call(CoreCommand::AssignVariant, {VariantArgument(variant), value, OptionalIndex(index)}).Bool();
}

OwnedText VariantToText(VARIANT* variant, std::optional<std::int32_t> index)
{
    return OwnedText(Call(CoreCommand::VariantToText, {VariantArgument(variant), OptionalIndex(index)}).Pointer<char>());
}

OwnedByteSet VariantToByteSet(VARIANT* variant, std::optional<std::int32_t> index)
{
    return OwnedByteSet(
        Call(CoreCommand::VariantToByteSet, {VariantArgument(variant), OptionalIndex(index)}).Pointer<std::uint8_t>());
}

void CopyVariant(VARIANT* target, VARIANT* source)
{
    Call(CoreCommand::CopyVariant, {VariantArgument(target), VariantArgument(source)});
}

void ClearVariant(VARIANT* variant)
{
    Call(CoreCommand::ClearVariant, {VariantArgument(variant)});
}

}  // namespace vellumry::automation::calls
