#pragma once

// The ITypeInfo (with ITypeComp) made from an interface or class description,
// and the ITypeLib that holds such type information. Type information that
// belongs to a library counts its references on the library, so that each
// keeps the other alive; standalone type information counts its own.

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

#include "platform/com/TypeDescription.h"
#include "platform/com/TypeInfo.h"

namespace vellumry::com {

class TableTypeLibrary;

class TableTypeInfo final : public ITypeInfo, public ITypeComp {
public:
    TableTypeInfo(const InterfaceDescription& description, TableTypeLibrary* library, UINT index);
    TableTypeInfo(const ClassDescription& description, TableTypeLibrary* library, UINT index);
    ~TableTypeInfo();

    std::u16string_view Name() const { return m_name; }
    const GUID& Guid() const { return m_attributes.guid; }
    TYPEKIND Kind() const { return m_attributes.typekind; }
    // The member id of a member called `name`, or MEMBERID_NIL.
    MEMBERID FindMember(std::u16string_view name) const;

    // IUnknown
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // ITypeInfo
    HRESULT GetTypeAttr(TYPEATTR** attributes) override;
    HRESULT GetTypeComp(ITypeComp** typeComp) override;
    HRESULT GetFuncDesc(UINT index, FUNCDESC** description) override;
    HRESULT GetVarDesc(UINT index, VARDESC** description) override;
    HRESULT GetNames(MEMBERID member, BSTR* names, UINT maxNames, UINT* count) override;
    HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* type) override;
    HRESULT GetImplTypeFlags(UINT index, INT* flags) override;
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override;
    HRESULT GetDocumentation(MEMBERID member, BSTR* name, BSTR* docString, DWORD* helpContext,
                             BSTR* helpFile) override;
    HRESULT GetRefTypeInfo(HREFTYPE type, ITypeInfo** typeInfo) override;
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT GetContainingTypeLib(ITypeLib** library, UINT* index) override;
    void ReleaseTypeAttr(TYPEATTR* attributes) override;
    void ReleaseFuncDesc(FUNCDESC* description) override;
    void ReleaseVarDesc(VARDESC* description) override;

    // ITypeComp
    HRESULT Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** typeInfo, DESCKIND* kind,
                 BINDPTR* bound) override;
    HRESULT BindType(LPOLESTR name, ULONG hash, ITypeInfo** typeInfo, ITypeComp** typeComp) override;

private:
    struct Entry {
        const MemberDescription* member;
        WORD hash;  // low half of the name's hash
    };

    TYPEDESC MakeTypeDesc(VARTYPE type);
    ELEMDESC MakeElemDesc(VARTYPE type, USHORT flags);
    const MemberDescription* MemberById(MEMBERID member) const;

    std::u16string_view m_name;
    TYPEATTR m_attributes{};
    TableTypeLibrary* m_library;
    UINT m_index;
    std::atomic<ULONG> m_count{0};  // used when there is no library
    CLSID m_clsid{};
    std::vector<const InterfaceDescription*> m_interfaces;  // of a class
    std::vector<FUNCDESC> m_functions;
    std::vector<Entry> m_functionEntries;
    std::vector<VARDESC> m_variables;
    std::vector<Entry> m_variableEntries;
    std::deque<TYPEDESC> m_pointedTypes;
    std::vector<std::unique_ptr<ELEMDESC[]>> m_parameters;
};

class TableTypeLibrary final : public ITypeLib {
public:
    explicit TableTypeLibrary(const LibraryDescription& description);
    ~TableTypeLibrary();

    // The type information of an interface of this library, or null.
    TableTypeInfo* InfoOf(const InterfaceDescription* description);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    UINT GetTypeInfoCount() override;
    HRESULT GetTypeInfo(UINT index, ITypeInfo** typeInfo) override;
    HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) override;
    HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** typeInfo) override;
    HRESULT GetLibAttr(TLIBATTR** attributes) override;
    HRESULT GetDocumentation(INT index, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile) override;
    HRESULT FindName(LPOLESTR name, ULONG hash, ITypeInfo** typeInfos, MEMBERID* members, USHORT* found) override;
    void ReleaseTLibAttr(TLIBATTR* attributes) override;

private:
    std::u16string_view m_name;
    TLIBATTR m_attributes{};
    std::vector<const InterfaceDescription*> m_interfaceDescriptions;
    std::vector<std::unique_ptr<TableTypeInfo>> m_infos;
    std::atomic<ULONG> m_count{0};
};

}  // namespace vellumry::com
