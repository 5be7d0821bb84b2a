#pragma once

// IDispatch for an object of ours, from one table that both describes its
// members (for type information, through which callers bind names) and names
// the member function that handles each:
//
//   class Counter final : public DispatchObject<Counter> {
//   public:
//       static const DispatchTable<Counter>& Table()
//       {
//           static const DispatchTable<Counter> table(u"ICounter", kIidCounter, {
//               {{u"Value", DISPID_VALUE, MemberKind::PropertyGet, VT_I4}, &Counter::GetValue},
//               {{u"Add", 1, MemberKind::Method, VT_I4, {{u"step", VT_I4}}}, &Counter::Add},
//           });
//           return table;
//       }
//   private:
//       HRESULT GetValue(InvokeCall& call) { call.ReturnInt(m_value); return S_OK; }
//       HRESULT Add(InvokeCall& call) { m_value += call.Int(0); call.ReturnInt(m_value); return S_OK; }
//       LONG m_value = 0;
//   };
//
// Invoke works as the documented DispInvoke does for a dispatch interface:
// - a DISPID without a member of a kind the flags ask for: DISP_E_MEMBERNOTFOUND;
// - a put takes its value as the one named argument DISPID_PROPERTYPUT (left
//   out: DISP_E_PARAMNOTOPTIONAL); any other named argument:
//   DISP_E_NONAMEDARGS;
// - more arguments than declared (without a variable argument list), or
//   fewer than the required ones: DISP_E_BADPARAMCOUNT; a required argument
//   passed as missing (VT_ERROR, DISP_E_PARAMNOTFOUND): DISP_E_PARAMNOTOPTIONAL;
// - an argument that does not change to its declared type gives the
//   conversion's error (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW) and its
//   position in rgvarg through the argument-error index; a by-reference
//   parameter takes exactly its declared type;
// - a handler's failure: DISP_E_EXCEPTION, with EXCEPINFO filled when given.
// GetTypeInfo(0) gives the table's type information; GetIDsOfNames binds
// names through it. QueryInterface answers the table's interface identifier
// with the IDispatch.

#include <utility>
#include <vector>

#include "platform/com/ComImplementation.h"
#include "platform/com/Dispatch.h"
#include "platform/com/InvokeCall.h"
#include "platform/com/TypeDescription.h"

namespace vellumry::com {

// The dispatcher shared by every table: picks the member of
// `description` that the DISPID and flags name, checks and converts the
// arguments as described above and calls `handle` with the member's index in
// the description.
using MemberCall = HRESULT (*)(void* context, std::size_t memberIndex, InvokeCall& call);
HRESULT DispatchInvoke(const InterfaceDescription& description, DISPID member, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError, MemberCall handle,
                       void* context);

template <typename Self>
class DispatchTable {
public:
    using Handler = HRESULT (Self::*)(InvokeCall& call);
    struct Member {
        MemberDescription description;
        Handler handler;
    };

    DispatchTable(std::u16string_view name, const IID& iid, std::vector<Member> members)
    {
        m_description.name = name;
        m_description.iid = iid;
        for (Member& member : members) {
            m_description.members.push_back(std::move(member.description));
            m_handlers.push_back(member.handler);
        }
        m_typeInfo = MakeInterfaceTypeInfo(m_description);
    }

    const InterfaceDescription& Description() const { return m_description; }
    ITypeInfo* TypeInfo() const { return m_typeInfo.Get(); }

    HRESULT Invoke(Self& self, DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError) const
    {
        struct Context {
            const DispatchTable* table;
            Self* self;
        } context{this, &self};
        auto handle = [](void* opaque, std::size_t index, InvokeCall& call) -> HRESULT {
            auto* c = static_cast<Context*>(opaque);
            return (c->self->*(c->table->m_handlers[index]))(call);
        };
        return DispatchInvoke(m_description, member, flags, params, result, exception, argumentError, handle,
                              &context);
    }

private:
    InterfaceDescription m_description;
    std::vector<Handler> m_handlers;
    Ref<ITypeInfo> m_typeInfo;
};

// Self provides `static const DispatchTable<Self>& Table()`; More are further
// interfaces the object offers.
template <typename Self, typename... More>
class DispatchObject : public ComImplementation<Self, IDispatch, More...> {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (object && riid == Self::Table().Description().iid) {
            *object = static_cast<IDispatch*>(this);
            this->AddRef();
            return S_OK;
        }
        return ComImplementation<Self, IDispatch, More...>::QueryInterface(riid, object);
    }

    HRESULT GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_INVALIDARG;
        *count = 1;
        return S_OK;
    }

    HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override
    {
        if (!typeInfo)
            return E_INVALIDARG;
        *typeInfo = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        *typeInfo = Self::Table().TypeInfo();
        (*typeInfo)->AddRef();
        return S_OK;
    }

    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        return Self::Table().TypeInfo()->GetIDsOfNames(names, count, ids);
    }

    HRESULT Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError) override
    {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        return Self::Table().Invoke(static_cast<Self&>(*this), member, flags, params, result, exception,
                                    argumentError);
    }

protected:
    DispatchObject() = default;
};

}  // namespace vellumry::com
