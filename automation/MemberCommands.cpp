// The read, write and call commands: each is InvokeByName with a member kind
// and a result type.

#include "automation/AutomationCommands.h"
#include "automation/AutomationError.h"
#include "automation/InvokeByName.h"
#include "automation/ValueConversion.h"
#include "runtime/Values.h"

namespace vellumry::automation {
namespace {

TypedValue Invoke(std::int32_t count, const TypedValue* arguments, MemberAccess access,
                  runtime::DataTypeTag resultType)
{
    std::span<const TypedValue> all(arguments, static_cast<std::size_t>(count < 0 ? 0 : count));
    ObjectHolder* holder = all.empty() ? nullptr : HolderOf(ArgumentValue(all[0]));
    TypedValue name = all.size() > 1 ? ArgumentValue(all[1]) : TypedValue();
    std::string_view memberName =
        name.tag == runtime::kTextType ? runtime::TextView(name.Pointer<const char>()) : std::string_view();
    std::span<const TypedValue> memberArguments = all.size() > 2 ? all.subspan(2) : std::span<const TypedValue>();
    return InvokeByName(holder, access, memberName, memberArguments, resultType);
}

}  // namespace

void ReadTextProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Read, runtime::kTextType);
}

void ReadNumberProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Read, runtime::kDoubleType);
}

void ReadObjectProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Read, runtime::kComObjectType);
}

void ReadProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Read, runtime::kVariantType);
}

void WriteProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Invoke(count, arguments, MemberAccess::Write, runtime::kNoType);
    *result = TypedValue::OfBool(AutomationError() == kAutomationOk);
}

void CallMethod(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    Invoke(count, arguments, MemberAccess::Method, runtime::kNoType);
}

void CallTextMethod(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Method, runtime::kTextType);
}

void CallObjectMethod(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = Invoke(count, arguments, MemberAccess::Method, runtime::kComObjectType);
}

}  // namespace vellumry::automation
