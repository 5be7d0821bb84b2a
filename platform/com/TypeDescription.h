#pragma once

// Type information from tables. A class of ours describes its dispatch
// interface once, as data, and gets a real ITypeInfo (with ITypeComp) for it,
// through which callers bind member names:
//
//   const InterfaceDescription kCounter{u"ICounter", kIidCounter, {
//       {u"Value", DISPID_VALUE, MemberKind::PropertyGet, VT_I4},
//       {u"Value", DISPID_VALUE, MemberKind::PropertyPut, VT_EMPTY, {{u"value", VT_I4}}},
//       {u"Add", 1, MemberKind::Method, VT_I4, {{u"step", VT_I4, PARAMFLAG_FIN | PARAMFLAG_FOPT}}},
//   }};
//   Ref<ITypeInfo> info = MakeInterfaceTypeInfo(kCounter);
//
// A library description groups interfaces and classes into an ITypeLib, whose
// classes create instances through the class registry (ITypeInfo::
// CreateInstance) and which LoadTypeLib finds once it is registered as a
// built-in library (TypeLibraryRegistry.h).
//
// Parameter and result types are VARTYPEs: VT_BYREF | t for a parameter passed
// by reference (described as VT_PTR to t), VT_ARRAY | t for an array
// (VT_SAFEARRAY of t). A put's value is its last parameter. A Variable member
// is a dispatch property described by a VARDESC (read and written by the same
// entry); its type is `result`.
//
// The descriptions, and every name in them, must outlive what is made of them:
// write them as static tables with string literals.

#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/ComTypes.h"
#include "platform/com/Ref.h"
#include "platform/com/TypeInfo.h"

namespace vellumry::com {

struct ParameterDescription {
    ParameterDescription(std::u16string_view name, VARTYPE type, USHORT flags = PARAMFLAG_FIN)
        : name(name), type(type), flags(flags)
    {
    }

    std::u16string_view name;
    VARTYPE type;
    USHORT flags;
};

enum class MemberKind { Method, PropertyGet, PropertyPut, PropertyPutRef, Variable };

struct MemberDescription {
    MemberDescription(std::u16string_view name, DISPID id, MemberKind kind, VARTYPE result = VT_EMPTY,
                      std::vector<ParameterDescription> parameters = {}, bool variableArguments = false)
        : name(name), id(id), kind(kind), result(result), parameters(std::move(parameters)),
          variableArguments(variableArguments)
    {
    }

    std::u16string_view name;
    DISPID id;
    MemberKind kind;
    VARTYPE result;  // VT_EMPTY: the member gives nothing
    std::vector<ParameterDescription> parameters;
    // The last parameter (VT_ARRAY | VT_VARIANT) takes all further arguments.
    bool variableArguments;
};

struct InterfaceDescription {
    std::u16string_view name;
    IID iid{};
    std::vector<MemberDescription> members;
};

struct ClassDescription {
    std::u16string_view name;
    CLSID clsid{};
    // The interfaces the class offers; the first is its default.
    std::vector<const InterfaceDescription*> interfaces;
};

struct LibraryDescription {
    std::u16string_view name;
    GUID libid{};
    WORD majorVersion = 1;
    WORD minorVersion = 0;
    std::vector<const InterfaceDescription*> interfaces;
    std::vector<const ClassDescription*> classes;
};

// The invoke kind a member binds as (a variable binds as any).
INVOKEKIND InvokeKindOf(MemberKind kind);

// Names compare without regard to letter case (ASCII, Latin-1 and full-width
// letters).
bool SameName(std::u16string_view a, std::u16string_view b);

// Type information of a dispatch interface (TKIND_DISPATCH), standing alone.
Ref<ITypeInfo> MakeInterfaceTypeInfo(const InterfaceDescription& description);

// A type library holding the interfaces and classes; their type information
// lives as long as the library or any of them is referenced.
Ref<ITypeLib> MakeTypeLibrary(const LibraryDescription& description);

}  // namespace vellumry::com
