#pragma once

// Type information as documented: ITypeInfo describes one type (an interface
// with its functions and variables, or a class), ITypeComp binds a member name
// to its description, ITypeLib holds the types of a library.
//
// The interfaces carry the members that callers in this program use. A
// description handed out by GetFuncDesc, GetVarDesc, GetTypeAttr or Bind stays
// valid until it is given back with the matching Release call on the type
// information that handed it out.
//
// Names bind without regard to letter case. ITypeComp::Bind takes the hash of
// LHashValOfNameSys (0 means: work it out) and the invoke kinds as flags;
// a function binds when its kind is among the flags (or the flags are 0), a
// variable binds whatever the flags. When nothing binds, Bind gives
// DESCKIND_NONE and S_OK.

#include "platform/com/ComTypes.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Unknown.h"
#include "platform/com/VariantTypes.h"

struct ITypeLib;
struct ITypeComp;

inline constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;

enum TYPEKIND {
    TKIND_ENUM,
    TKIND_RECORD,
    TKIND_MODULE,
    TKIND_INTERFACE,
    TKIND_DISPATCH,
    TKIND_COCLASS,
    TKIND_ALIAS,
    TKIND_UNION,
    TKIND_MAX
};

enum INVOKEKIND {
    INVOKE_FUNC = 1,
    INVOKE_PROPERTYGET = 2,
    INVOKE_PROPERTYPUT = 4,
    INVOKE_PROPERTYPUTREF = 8
};

enum FUNCKIND { FUNC_VIRTUAL, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH };
enum VARKIND { VAR_PERINSTANCE, VAR_STATIC, VAR_CONST, VAR_DISPATCH };
enum CALLCONV { CC_FASTCALL = 0, CC_CDECL = 1, CC_STDCALL = 4 };
enum DESCKIND {
    DESCKIND_NONE,
    DESCKIND_FUNCDESC,
    DESCKIND_VARDESC,
    DESCKIND_TYPECOMP,
    DESCKIND_IMPLICITAPPOBJ,
    DESCKIND_MAX
};

inline constexpr USHORT PARAMFLAG_NONE = 0;
inline constexpr USHORT PARAMFLAG_FIN = 0x1;
inline constexpr USHORT PARAMFLAG_FOUT = 0x2;
inline constexpr USHORT PARAMFLAG_FLCID = 0x4;
inline constexpr USHORT PARAMFLAG_FRETVAL = 0x8;
inline constexpr USHORT PARAMFLAG_FOPT = 0x10;
inline constexpr USHORT PARAMFLAG_FHASDEFAULT = 0x20;

inline constexpr WORD IMPLTYPEFLAG_FDEFAULT = 0x1;

struct TYPEDESC {
    union {
        TYPEDESC* lptdesc;  // VT_PTR, VT_SAFEARRAY: the type pointed at or held
        HREFTYPE hreftype;  // VT_USERDEFINED
    };
    VARTYPE vt;
};

struct PARAMDESC {
    void* pparamdescex;
    USHORT wParamFlags;
};

struct IDLDESC {
    ULONG_PTR dwReserved;
    USHORT wIDLFlags;
};

struct ELEMDESC {
    TYPEDESC tdesc;
    union {
        IDLDESC idldesc;
        PARAMDESC paramdesc;
    };
};

struct FUNCDESC {
    MEMBERID memid;
    SCODE* lprgscode;
    ELEMDESC* lprgelemdescParam;
    FUNCKIND funckind;
    INVOKEKIND invkind;
    CALLCONV callconv;
    SHORT cParams;
    SHORT cParamsOpt;  // -1: the last parameter takes a variable argument list
    SHORT oVft;
    SHORT cScodes;
    ELEMDESC elemdescFunc;
    WORD wFuncFlags;
};

struct VARDESC {
    MEMBERID memid;
    LPOLESTR lpstrSchema;
    union {
        ULONG oInst;
        VARIANT* lpvarValue;
    };
    ELEMDESC elemdescVar;
    WORD wVarFlags;
    VARKIND varkind;
};

struct TYPEATTR {
    GUID guid;
    LCID lcid;
    DWORD dwReserved;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    LPOLESTR lpstrSchema;
    ULONG cbSizeInstance;
    TYPEKIND typekind;
    WORD cFuncs;
    WORD cVars;
    WORD cImplTypes;
    WORD cbSizeVft;
    WORD cbAlignment;
    WORD wTypeFlags;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    TYPEDESC tdescAlias;
    IDLDESC idldescType;
};

struct TLIBATTR {
    GUID guid;
    LCID lcid;
    SYSKIND syskind;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    WORD wLibFlags;
};

union BINDPTR {
    FUNCDESC* lpfuncdesc;
    VARDESC* lpvardesc;
    ITypeComp* lptcomp;
};

struct ITypeComp : IUnknown {
    static constexpr IID kIid = IID_ITypeComp;

    virtual HRESULT Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** typeInfo, DESCKIND* kind,
                         BINDPTR* bound) = 0;
    virtual HRESULT BindType(LPOLESTR name, ULONG hash, ITypeInfo** typeInfo, ITypeComp** typeComp) = 0;

protected:
    ~ITypeComp() = default;
};

struct ITypeInfo : IUnknown {
    static constexpr IID kIid = IID_ITypeInfo;

    virtual HRESULT GetTypeAttr(TYPEATTR** attributes) = 0;
    virtual HRESULT GetTypeComp(ITypeComp** typeComp) = 0;
    virtual HRESULT GetFuncDesc(UINT index, FUNCDESC** description) = 0;
    virtual HRESULT GetVarDesc(UINT index, VARDESC** description) = 0;
    // The member's name, then its parameters' names.
    virtual HRESULT GetNames(MEMBERID member, BSTR* names, UINT maxNames, UINT* count) = 0;
    virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* type) = 0;
    virtual HRESULT GetImplTypeFlags(UINT index, INT* flags) = 0;
    virtual HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) = 0;
    // The name of the type (MEMBERID_NIL) or of a member; the other outputs
    // may be null and are left empty.
    virtual HRESULT GetDocumentation(MEMBERID member, BSTR* name, BSTR* docString, DWORD* helpContext,
                                     BSTR* helpFile) = 0;
    virtual HRESULT GetRefTypeInfo(HREFTYPE type, ITypeInfo** typeInfo) = 0;
    // Creates an instance of the class a TKIND_COCLASS type describes.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) = 0;
    virtual HRESULT GetContainingTypeLib(ITypeLib** library, UINT* index) = 0;
    virtual void ReleaseTypeAttr(TYPEATTR* attributes) = 0;
    virtual void ReleaseFuncDesc(FUNCDESC* description) = 0;
    virtual void ReleaseVarDesc(VARDESC* description) = 0;

protected:
    ~ITypeInfo() = default;
};

struct ITypeLib : IUnknown {
    static constexpr IID kIid = IID_ITypeLib;

    virtual UINT GetTypeInfoCount() = 0;
    virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) = 0;
    virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetLibAttr(TLIBATTR** attributes) = 0;
    virtual HRESULT GetDocumentation(INT index, BSTR* name, BSTR* docString, DWORD* helpContext,
                                     BSTR* helpFile) = 0;
    // On entry *found is the room in the two arrays; on return the number of
    // types holding the name as their own name or a member's.
    virtual HRESULT FindName(LPOLESTR name, ULONG hash, ITypeInfo** typeInfos, MEMBERID* members,
                             USHORT* found) = 0;
    virtual void ReleaseTLibAttr(TLIBATTR* attributes) = 0;

protected:
    ~ITypeLib() = default;
};

// The hash that ITypeComp::Bind and ITypeLib::FindName take: the low 16 bits
// hash the name without regard to letter case, bits 16 to 23 tell the system
// and locale the hash was made for (hashes of different systems or locales
// are not comparable).
ULONG LHashValOfNameSys(SYSKIND system, LCID lcid, const OLECHAR* name);

inline constexpr WORD WHashValOfLHashVal(ULONG hash)
{
    return static_cast<WORD>(hash & 0xFFFF);
}

inline constexpr bool IsHashValCompatible(ULONG a, ULONG b)
{
    return (a & 0x00FF0000) == (b & 0x00FF0000);
}
