#include "automation/InvokeByName.h"

#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/ValueConversion.h"
#include "platform/codepage/CodePage.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/TypeInfo.h"
#include "platform/com/VariantApi.h"
#include "platform/kernel/Locale.h"

namespace vellumry::automation {
namespace {

using com::Ref;
using runtime::TypedValue;

// The description a name bound to, given back to its type information when
// the call is done.
struct BoundMember {
    Ref<ITypeInfo> info;
    FUNCDESC* function = nullptr;
    VARDESC* variable = nullptr;

    BoundMember() = default;
    BoundMember(const BoundMember&) = delete;
    BoundMember& operator=(const BoundMember&) = delete;
    ~BoundMember()
    {
        if (info && function)
            info->ReleaseFuncDesc(function);
        if (info && variable)
            info->ReleaseVarDesc(variable);
    }
};

struct Parameter {
    const TYPEDESC* type = nullptr;  // null: a VARIANT taken by value
    USHORT flags = PARAMFLAG_FIN;
};

constexpr WORD kReadKinds[] = {INVOKE_PROPERTYGET, INVOKE_FUNC};
constexpr WORD kWriteKinds[] = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
constexpr WORD kMethodKinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};

std::span<const WORD> KindsFor(MemberAccess access)
{
    switch (access) {
    case MemberAccess::Read: return kReadKinds;
    case MemberAccess::Write: return kWriteKinds;
    default: return kMethodKinds;
    }
}

// Binds the name with the kinds in order; kAutomationOk or kNoSuchMember.
std::int32_t Bind(ITypeComp* typeComp, std::u16string& name, ULONG hash, MemberAccess access, BoundMember& bound)
{
    for (WORD kind : KindsFor(access)) {
        ITypeInfo* info = nullptr;
        DESCKIND descKind = DESCKIND_NONE;
        BINDPTR pointer{};
        if (FAILED(typeComp->Bind(name.data(), hash, kind, &info, &descKind, &pointer)))
            continue;
        Ref<ITypeInfo> owner = Ref<ITypeInfo>::Adopt(info);
        switch (descKind) {
        case DESCKIND_FUNCDESC:
            bound.info = std::move(owner);
            bound.function = pointer.lpfuncdesc;
            return kAutomationOk;
        case DESCKIND_VARDESC:
            bound.info = std::move(owner);
            bound.variable = pointer.lpvardesc;
            return kAutomationOk;
        case DESCKIND_TYPECOMP:
            // A nested type, not a member.
            if (pointer.lptcomp)
                pointer.lptcomp->Release();
            return kNoSuchMember;
        case DESCKIND_IMPLICITAPPOBJ:
            if (owner && pointer.lpvardesc)
                owner->ReleaseVarDesc(pointer.lpvardesc);
            return kNoSuchMember;
        default: break;
        }
    }
    return kNoSuchMember;
}

// The type a by-reference parameter points at; null for a by-value one.
const TYPEDESC* ReferencedType(const TYPEDESC* type)
{
    return type && type->vt == VT_PTR ? type->lptdesc : nullptr;
}

const TYPEDESC* WithoutPointer(const TYPEDESC* type)
{
    const TYPEDESC* referenced = ReferencedType(type);
    return referenced ? referenced : type;
}

// True for an interface type (IDispatch, IUnknown or a described interface),
// also by reference.
bool IsInterfaceType(ITypeInfo* info, const TYPEDESC* type)
{
    type = WithoutPointer(type);
    if (!type)
        return false;
    if (type->vt == VT_DISPATCH || type->vt == VT_UNKNOWN)
        return true;
    if (type->vt != VT_USERDEFINED || !info)
        return false;
    Ref<ITypeInfo> referenced;
    if (FAILED(info->GetRefTypeInfo(type->hreftype, referenced.Put())) || !referenced)
        return false;
    TYPEATTR* attributes = nullptr;
    if (FAILED(referenced->GetTypeAttr(&attributes)))
        return false;
    bool interface = attributes->typekind == TKIND_INTERFACE || attributes->typekind == TKIND_DISPATCH;
    referenced->ReleaseTypeAttr(attributes);
    return interface;
}

bool IsArrayType(const TYPEDESC* type)
{
    type = WithoutPointer(type);
    return type && type->vt == VT_SAFEARRAY;
}

// The VARTYPE of a described type that a value can be changed to, or
// VT_EMPTY when there is none.
VARTYPE VarTypeOf(const TYPEDESC* type)
{
    if (!type)
        return VT_EMPTY;
    if (type->vt == VT_SAFEARRAY || type->vt == VT_PTR || type->vt == VT_USERDEFINED || type->vt == VT_VOID ||
        !com::IsSupportedVariantType(type->vt))
        return VT_EMPTY;
    return type->vt;
}

void MakeMissing(VARIANT& argument)
{
    VariantInit(&argument);
    argument.vt = VT_ERROR;
    argument.scode = DISP_E_PARAMNOTFOUND;
}

// Moves `slot` into `argument`, leaving the slot empty.
void MoveInto(VARIANT& slot, VARIANT& argument)
{
    argument = slot;
    VariantInit(&slot);
}

// The variants of one call: the converted values (slots, in the caller's
// order) and the arguments handed to Invoke (reversed), each either a value
// moved out of its slot or a reference into it.
class CallArguments {
public:
    explicit CallArguments(std::size_t count) : m_slots(count), m_arguments(count), m_byReference(count, false)
    {
        for (std::size_t i = 0; i < count; ++i) {
            VariantInit(&m_slots[i]);
            VariantInit(&m_arguments[i]);
        }
    }
    ~CallArguments()
    {
        for (VARIANT& argument : m_arguments)
            VariantClear(&argument);
        for (VARIANT& slot : m_slots)
            VariantClear(&slot);
    }
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;

    // Converts the caller's argument `i` for parameter `parameter`.
    std::int32_t Place(std::size_t i, const TypedValue& given, const Parameter& parameter)
    {
        VARIANT& slot = m_slots[i];
        VARIANT& argument = m_arguments[m_arguments.size() - 1 - i];
        TypedValue value = ArgumentValue(given);
        if (value.tag == runtime::kNoType) {
            MakeMissing(argument);
            return kAutomationOk;
        }
        const TYPEDESC* plain = WithoutPointer(parameter.type);
        ObjectForm form = plain && plain->vt == VT_UNKNOWN ? ObjectForm::Unknown : ObjectForm::Dispatch;
        std::int32_t code = ToVariant(value, form, &slot);
        if (code != kAutomationOk)
            return code;
        if (slot.vt == VT_EMPTY) {
            MakeMissing(argument);
            return kAutomationOk;
        }
        const TYPEDESC* referenced = ReferencedType(parameter.type);
        if (!referenced) {
            MoveInto(slot, argument);
            return kAutomationOk;
        }
        if (referenced->vt == VT_VARIANT) {
            argument.vt = VT_BYREF | VT_VARIANT;
            argument.pvarVal = &slot;
        } else if (referenced->vt == VT_SAFEARRAY) {
            if (!(slot.vt & VT_ARRAY)) {
                MoveInto(slot, argument);
                return kAutomationOk;
            }
            argument.vt = VT_BYREF | slot.vt;
            argument.pparray = &slot.parray;
        } else {
            VARTYPE type = VarTypeOf(referenced);
            if (type == VT_EMPTY || FAILED(VariantChangeType(&slot, &slot, 0, type))) {
                MoveInto(slot, argument);
                return kAutomationOk;
            }
            argument.vt = VT_BYREF | type;
            argument.byref = &slot.llVal;
        }
        m_byReference[i] = true;
        return kAutomationOk;
    }

    VARIANT* Arguments() { return m_arguments.data(); }
    bool PassedByReference(std::size_t i) const { return m_byReference[i]; }
    const VARIANT& Slot(std::size_t i) const { return m_slots[i]; }

private:
    std::vector<VARIANT> m_slots;
    std::vector<VARIANT> m_arguments;
    std::vector<bool> m_byReference;
};

std::int32_t Invoke(ObjectHolder* holder, MemberAccess access, std::string_view name,
                    std::span<const TypedValue> arguments, runtime::DataTypeTag resultType, TypedValue* result)
{
    // 1. The object's dispatch interface.
    if (!holder || !holder->object)
        return kEmptyObject;
    auto dispatch = Ref<IDispatch>::QueryFrom(holder->object);
    if (!dispatch)
        return kNoDispatch;

    // 2. Its type information.
    LCID lcid = GetUserDefaultLCID();
    Ref<ITypeInfo> typeInfo;
    Ref<ITypeComp> typeComp;
    if (FAILED(dispatch->GetTypeInfo(0, lcid, typeInfo.Put())) || !typeInfo ||
        FAILED(typeInfo->GetTypeComp(typeComp.Put())) || !typeComp)
        return kNoTypeInformation;

    // 3. The member.
    std::u16string wideName = codepage::GbkToUtf16(name);
    ULONG hash = LHashValOfNameSys(SYS_WIN32, lcid, wideName.c_str());
    BoundMember bound;
    if (std::int32_t code = Bind(typeComp.Get(), wideName, hash, access, bound); code != kAutomationOk)
        return code;

    // 4. What it takes.
    MEMBERID member = 0;
    WORD flags = 0;
    std::vector<Parameter> parameters;
    bool variableArguments = false;
    if (bound.function) {
        const FUNCDESC& function = *bound.function;
        member = function.memid;
        flags = static_cast<WORD>(function.invkind);
        for (SHORT i = 0; i < function.cParams; ++i)
            parameters.push_back({&function.lprgelemdescParam[i].tdesc,
                                  function.lprgelemdescParam[i].paramdesc.wParamFlags});
        variableArguments = function.cParamsOpt == -1;
    } else {
        const VARDESC& variable = *bound.variable;
        member = variable.memid;
        if (access == MemberAccess::Write) {
            const TYPEDESC* type = &variable.elemdescVar.tdesc;
            flags = IsInterfaceType(bound.info.Get(), type) || IsArrayType(type) ? DISPATCH_PROPERTYPUTREF
                                                                                  : DISPATCH_PROPERTYPUT;
            parameters.push_back({type, PARAMFLAG_FIN});
        } else {
            flags = DISPATCH_PROPERTYGET;
        }
    }

    // 5. How many arguments travel.
    std::size_t count = arguments.size();
    while (count > 0 && arguments[count - 1].tag == runtime::kNoType)
        --count;
    if (count > parameters.size() && !variableArguments)
        return kTooManyArguments;

    // 6. The arguments, reversed.
    CallArguments call(count);
    std::size_t fixed = variableArguments && !parameters.empty() ? parameters.size() - 1 : parameters.size();
    for (std::size_t i = 0; i < count; ++i) {
        Parameter parameter = i < fixed ? parameters[i] : Parameter{};
        if (std::int32_t code = call.Place(i, arguments[i], parameter); code != kAutomationOk)
            return code;
    }

    // 7. A put names its value.
    DISPID putName = DISPID_PROPERTYPUT;
    bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{call.Arguments(), put ? &putName : nullptr, static_cast<UINT>(count), put ? 1u : 0u};

    // 8. The call.
    com::ScopedVariant returned;
    UINT argumentError = 0;
    HRESULT hr = dispatch->Invoke(member, IID_NULL, lcid, flags, &params, returned.Ptr(), nullptr, &argumentError);
    if (FAILED(hr))
        return CodeOfInvokeFailure(hr);

    // 9. Outputs, then the result.
    std::int32_t code = kAutomationOk;
    for (std::size_t i = 0; i < count; ++i) {
        bool output = i < fixed && (parameters[i].flags & PARAMFLAG_FOUT);
        if (!output || !call.PassedByReference(i) || !runtime::IsByReference(arguments[i].tag))
            continue;
        if (!StoreIntoVariable(call.Slot(i), runtime::WithoutReference(arguments[i].tag),
                               arguments[i].Pointer<void>()))
            code = kResultNotConverted;
    }
    if (code != kAutomationOk)
        return code;
    if (resultType != runtime::kNoType && !FromVariant(returned.Get(), resultType, result))
        return kResultNotConverted;
    return kAutomationOk;
}

}  // namespace

TypedValue InvokeByName(ObjectHolder* holder, MemberAccess access, std::string_view name,
                        std::span<const TypedValue> arguments, runtime::DataTypeTag resultType)
{
    TypedValue result;
    std::int32_t code = Invoke(holder, access, name, arguments, resultType, &result);
    if (code != kAutomationOk)
        result = EmptyValueOf(resultType);
    SetAutomationError(code);
    return result;
}

}  // namespace vellumry::automation
