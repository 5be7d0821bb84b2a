#include "platform/com/TypeDescription.h"

#include <algorithm>

#include "platform/com/Bstr.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/private/NameFolding.h"
#include "platform/com/private/TableTypeInfo.h"

namespace vellumry::com {
namespace {

// Size of the IDispatch table of virtual functions: 3 of IUnknown, 4 more.
constexpr WORD kDispatchTableSize = 7 * sizeof(void*);
constexpr WORD TYPEFLAG_FCANCREATE = 0x2;
constexpr WORD TYPEFLAG_FDISPATCHABLE = 0x1000;

BSTR NewName(std::u16string_view name)
{
    return AllocBstr(name);
}

}  // namespace

INVOKEKIND InvokeKindOf(MemberKind kind)
{
    switch (kind) {
    case MemberKind::PropertyGet: return INVOKE_PROPERTYGET;
    case MemberKind::PropertyPut: return INVOKE_PROPERTYPUT;
    case MemberKind::PropertyPutRef: return INVOKE_PROPERTYPUTREF;
    default: return INVOKE_FUNC;
    }
}

// --- TableTypeInfo ---------------------------------------------------------

TableTypeInfo::TableTypeInfo(const InterfaceDescription& description, TableTypeLibrary* library, UINT index)
    : m_name(description.name), m_library(library), m_index(index)
{
    m_attributes.guid = description.iid;
    m_attributes.memidConstructor = MEMBERID_NIL;
    m_attributes.memidDestructor = MEMBERID_NIL;
    m_attributes.typekind = TKIND_DISPATCH;
    m_attributes.cbSizeVft = kDispatchTableSize;
    m_attributes.cbAlignment = alignof(void*);
    m_attributes.wTypeFlags = TYPEFLAG_FDISPATCHABLE;
    m_attributes.wMajorVerNum = 1;
    for (const MemberDescription& member : description.members) {
        Entry entry{&member, NameHash(member.name)};
        if (member.kind == MemberKind::Variable) {
            VARDESC variable{};
            variable.memid = member.id;
            variable.elemdescVar = MakeElemDesc(member.result, PARAMFLAG_NONE);
            variable.varkind = VAR_DISPATCH;
            m_variables.push_back(variable);
            m_variableEntries.push_back(entry);
            continue;
        }
        FUNCDESC function{};
        function.memid = member.id;
        function.funckind = FUNC_DISPATCH;
        function.invkind = InvokeKindOf(member.kind);
        function.callconv = CC_STDCALL;
        function.cParams = static_cast<SHORT>(member.parameters.size());
        function.cParamsOpt = member.variableArguments ? -1 : 0;
        function.elemdescFunc = MakeElemDesc(member.result == VT_EMPTY ? VARTYPE{VT_VOID} : member.result, PARAMFLAG_NONE);
        if (!member.parameters.empty()) {
            auto parameters = std::make_unique<ELEMDESC[]>(member.parameters.size());
            for (std::size_t i = 0; i < member.parameters.size(); ++i)
                parameters[i] = MakeElemDesc(member.parameters[i].type, member.parameters[i].flags);
            function.lprgelemdescParam = parameters.get();
            m_parameters.push_back(std::move(parameters));
        }
        m_functions.push_back(function);
        m_functionEntries.push_back(entry);
    }
    m_attributes.cFuncs = static_cast<WORD>(m_functions.size());
    m_attributes.cVars = static_cast<WORD>(m_variables.size());
}

TableTypeInfo::TableTypeInfo(const ClassDescription& description, TableTypeLibrary* library, UINT index)
    : m_name(description.name), m_library(library), m_index(index), m_clsid(description.clsid),
      m_interfaces(description.interfaces)
{
    m_attributes.guid = description.clsid;
    m_attributes.memidConstructor = MEMBERID_NIL;
    m_attributes.memidDestructor = MEMBERID_NIL;
    m_attributes.typekind = TKIND_COCLASS;
    m_attributes.cImplTypes = static_cast<WORD>(m_interfaces.size());
    m_attributes.cbAlignment = alignof(void*);
    m_attributes.wTypeFlags = TYPEFLAG_FCANCREATE;
    m_attributes.wMajorVerNum = 1;
}

TableTypeInfo::~TableTypeInfo() = default;

TYPEDESC TableTypeInfo::MakeTypeDesc(VARTYPE type)
{
    TYPEDESC desc{};
    if (type & VT_BYREF) {
        m_pointedTypes.push_back(MakeTypeDesc(type & ~VT_BYREF));
        desc.vt = VT_PTR;
        desc.lptdesc = &m_pointedTypes.back();
    } else if (type & VT_ARRAY) {
        m_pointedTypes.push_back(MakeTypeDesc(type & ~VT_ARRAY));
        desc.vt = VT_SAFEARRAY;
        desc.lptdesc = &m_pointedTypes.back();
    } else {
        desc.vt = type;
    }
    return desc;
}

ELEMDESC TableTypeInfo::MakeElemDesc(VARTYPE type, USHORT flags)
{
    ELEMDESC desc{};
    desc.tdesc = MakeTypeDesc(type);
    desc.paramdesc.wParamFlags = flags;
    return desc;
}

const MemberDescription* TableTypeInfo::MemberById(MEMBERID member) const
{
    for (const Entry& entry : m_functionEntries)
        if (entry.member->id == member)
            return entry.member;
    for (const Entry& entry : m_variableEntries)
        if (entry.member->id == member)
            return entry.member;
    return nullptr;
}

MEMBERID TableTypeInfo::FindMember(std::u16string_view name) const
{
    for (const auto* entries : {&m_functionEntries, &m_variableEntries})
        for (const Entry& entry : *entries)
            if (SameName(entry.member->name, name))
                return entry.member->id;
    return MEMBERID_NIL;
}

HRESULT TableTypeInfo::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ITypeInfo)
        *object = static_cast<ITypeInfo*>(this);
    else if (riid == IID_ITypeComp)
        *object = static_cast<ITypeComp*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG TableTypeInfo::AddRef()
{
    return m_library ? m_library->AddRef() : ++m_count;
}

ULONG TableTypeInfo::Release()
{
    if (m_library)
        return m_library->Release();
    ULONG count = --m_count;
    if (count == 0)
        delete this;
    return count;
}

HRESULT TableTypeInfo::GetTypeAttr(TYPEATTR** attributes)
{
    if (!attributes)
        return E_INVALIDARG;
    *attributes = &m_attributes;
    return S_OK;
}

HRESULT TableTypeInfo::GetTypeComp(ITypeComp** typeComp)
{
    if (!typeComp)
        return E_INVALIDARG;
    *typeComp = this;
    AddRef();
    return S_OK;
}

HRESULT TableTypeInfo::GetFuncDesc(UINT index, FUNCDESC** description)
{
    if (!description)
        return E_INVALIDARG;
    if (index >= m_functions.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *description = &m_functions[index];
    return S_OK;
}

HRESULT TableTypeInfo::GetVarDesc(UINT index, VARDESC** description)
{
    if (!description)
        return E_INVALIDARG;
    if (index >= m_variables.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *description = &m_variables[index];
    return S_OK;
}

HRESULT TableTypeInfo::GetNames(MEMBERID member, BSTR* names, UINT maxNames, UINT* count)
{
    if (!names || !count)
        return E_INVALIDARG;
    *count = 0;
    const MemberDescription* description = MemberById(member);
    if (!description)
        return TYPE_E_ELEMENTNOTFOUND;
    if (maxNames == 0)
        return S_OK;
    names[(*count)++] = NewName(description->name);
    for (const ParameterDescription& parameter : description->parameters) {
        if (*count >= maxNames)
            break;
        names[(*count)++] = NewName(parameter.name);
    }
    return S_OK;
}

HRESULT TableTypeInfo::GetRefTypeOfImplType(UINT index, HREFTYPE* type)
{
    if (!type)
        return E_INVALIDARG;
    if (index >= m_interfaces.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *type = index;
    return S_OK;
}

HRESULT TableTypeInfo::GetImplTypeFlags(UINT index, INT* flags)
{
    if (!flags)
        return E_INVALIDARG;
    if (index >= m_interfaces.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *flags = index == 0 ? IMPLTYPEFLAG_FDEFAULT : 0;
    return S_OK;
}

HRESULT TableTypeInfo::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids)
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    std::fill(ids, ids + count, MEMBERID_NIL);
    MEMBERID member = FindMember(names[0]);
    if (member == MEMBERID_NIL)
        return DISP_E_UNKNOWNNAME;
    ids[0] = member;
    const MemberDescription* description = MemberById(member);
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        const auto& parameters = description->parameters;
        auto found = std::find_if(parameters.begin(), parameters.end(),
                                  [&](const ParameterDescription& p) { return SameName(p.name, names[i]); });
        if (found == parameters.end())
            hr = DISP_E_UNKNOWNNAME;
        else
            ids[i] = static_cast<MEMBERID>(found - parameters.begin());
    }
    return hr;
}

HRESULT TableTypeInfo::GetDocumentation(MEMBERID member, BSTR* name, BSTR* docString, DWORD* helpContext,
                                        BSTR* helpFile)
{
    std::u16string_view found = m_name;
    if (member != MEMBERID_NIL) {
        const MemberDescription* description = MemberById(member);
        if (!description)
            return TYPE_E_ELEMENTNOTFOUND;
        found = description->name;
    }
    if (name)
        *name = NewName(found);
    if (docString)
        *docString = nullptr;
    if (helpContext)
        *helpContext = 0;
    if (helpFile)
        *helpFile = nullptr;
    return S_OK;
}

HRESULT TableTypeInfo::GetRefTypeInfo(HREFTYPE type, ITypeInfo** typeInfo)
{
    if (!typeInfo)
        return E_INVALIDARG;
    *typeInfo = nullptr;
    if (type >= m_interfaces.size() || !m_library)
        return TYPE_E_ELEMENTNOTFOUND;
    TableTypeInfo* info = m_library->InfoOf(m_interfaces[type]);
    if (!info)
        return TYPE_E_ELEMENTNOTFOUND;
    info->AddRef();
    *typeInfo = info;
    return S_OK;
}

HRESULT TableTypeInfo::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    if (m_attributes.typekind != TKIND_COCLASS)
        return TYPE_E_WRONGTYPEKIND;
    return CoCreateInstance(m_clsid, outer, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER, riid,
                            object);
}

HRESULT TableTypeInfo::GetContainingTypeLib(ITypeLib** library, UINT* index)
{
    if (!library)
        return E_INVALIDARG;
    *library = nullptr;
    if (!m_library)
        return E_NOTIMPL;
    m_library->AddRef();
    *library = m_library;
    if (index)
        *index = m_index;
    return S_OK;
}

void TableTypeInfo::ReleaseTypeAttr(TYPEATTR*) {}
void TableTypeInfo::ReleaseFuncDesc(FUNCDESC*) {}
void TableTypeInfo::ReleaseVarDesc(VARDESC*) {}

HRESULT TableTypeInfo::Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** typeInfo, DESCKIND* kind,
                            BINDPTR* bound)
{
    if (!name || !typeInfo || !kind || !bound)
        return E_INVALIDARG;
    *typeInfo = nullptr;
    *kind = DESCKIND_NONE;
    bound->lpfuncdesc = nullptr;
    std::u16string_view sought(name);
    WORD wanted = hash != 0 ? WHashValOfLHashVal(hash) : NameHash(sought);
    for (std::size_t i = 0; i < m_functions.size(); ++i) {
        const Entry& entry = m_functionEntries[i];
        if (entry.hash != wanted || !SameName(entry.member->name, sought))
            continue;
        if (flags != 0 && !(m_functions[i].invkind & flags))
            continue;
        *kind = DESCKIND_FUNCDESC;
        bound->lpfuncdesc = &m_functions[i];
        AddRef();
        *typeInfo = this;
        return S_OK;
    }
    for (std::size_t i = 0; i < m_variables.size(); ++i) {
        const Entry& entry = m_variableEntries[i];
        if (entry.hash != wanted || !SameName(entry.member->name, sought))
            continue;
        *kind = DESCKIND_VARDESC;
        bound->lpvardesc = &m_variables[i];
        AddRef();
        *typeInfo = this;
        return S_OK;
    }
    return S_OK;
}

HRESULT TableTypeInfo::BindType(LPOLESTR name, ULONG, ITypeInfo** typeInfo, ITypeComp** typeComp)
{
    if (!name || !typeInfo || !typeComp)
        return E_INVALIDARG;
    // A dispatch interface or class of ours holds no nested types.
    *typeInfo = nullptr;
    *typeComp = nullptr;
    return S_OK;
}

// --- TableTypeLibrary ------------------------------------------------------

TableTypeLibrary::TableTypeLibrary(const LibraryDescription& description)
    : m_name(description.name), m_interfaceDescriptions(description.interfaces)
{
    m_attributes.guid = description.libid;
    m_attributes.syskind = SYS_WIN32;
    m_attributes.wMajorVerNum = description.majorVersion;
    m_attributes.wMinorVerNum = description.minorVersion;
    UINT index = 0;
    for (const InterfaceDescription* interface : description.interfaces)
        m_infos.push_back(std::make_unique<TableTypeInfo>(*interface, this, index++));
    for (const ClassDescription* cls : description.classes)
        m_infos.push_back(std::make_unique<TableTypeInfo>(*cls, this, index++));
}

TableTypeLibrary::~TableTypeLibrary() = default;

TableTypeInfo* TableTypeLibrary::InfoOf(const InterfaceDescription* description)
{
    auto found = std::find(m_interfaceDescriptions.begin(), m_interfaceDescriptions.end(), description);
    if (found == m_interfaceDescriptions.end())
        return nullptr;
    return m_infos[static_cast<std::size_t>(found - m_interfaceDescriptions.begin())].get();
}

HRESULT TableTypeLibrary::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_ITypeLib) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<ITypeLib*>(this);
    AddRef();
    return S_OK;
}

ULONG TableTypeLibrary::AddRef()
{
    return ++m_count;
}

ULONG TableTypeLibrary::Release()
{
    ULONG count = --m_count;
    if (count == 0)
        delete this;
    return count;
}

UINT TableTypeLibrary::GetTypeInfoCount()
{
    return static_cast<UINT>(m_infos.size());
}

HRESULT TableTypeLibrary::GetTypeInfo(UINT index, ITypeInfo** typeInfo)
{
    if (!typeInfo)
        return E_INVALIDARG;
    *typeInfo = nullptr;
    if (index >= m_infos.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *typeInfo = m_infos[index].get();
    AddRef();
    return S_OK;
}

HRESULT TableTypeLibrary::GetTypeInfoType(UINT index, TYPEKIND* kind)
{
    if (!kind)
        return E_INVALIDARG;
    if (index >= m_infos.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *kind = m_infos[index]->Kind();
    return S_OK;
}

HRESULT TableTypeLibrary::GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** typeInfo)
{
    if (!typeInfo)
        return E_INVALIDARG;
    *typeInfo = nullptr;
    for (auto& info : m_infos) {
        if (info->Guid() == guid) {
            *typeInfo = info.get();
            AddRef();
            return S_OK;
        }
    }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TableTypeLibrary::GetLibAttr(TLIBATTR** attributes)
{
    if (!attributes)
        return E_INVALIDARG;
    *attributes = &m_attributes;
    return S_OK;
}

HRESULT TableTypeLibrary::GetDocumentation(INT index, BSTR* name, BSTR* docString, DWORD* helpContext,
                                           BSTR* helpFile)
{
    std::u16string_view found = m_name;
    if (index >= 0) {
        if (static_cast<std::size_t>(index) >= m_infos.size())
            return TYPE_E_ELEMENTNOTFOUND;
        found = m_infos[static_cast<std::size_t>(index)]->Name();
    }
    if (name)
        *name = NewName(found);
    if (docString)
        *docString = nullptr;
    if (helpContext)
        *helpContext = 0;
    if (helpFile)
        *helpFile = nullptr;
    return S_OK;
}

HRESULT TableTypeLibrary::FindName(LPOLESTR name, ULONG hash, ITypeInfo** typeInfos, MEMBERID* members,
                                   USHORT* found)
{
    if (!name || !typeInfos || !members || !found)
        return E_INVALIDARG;
    std::u16string_view sought(name);
    if (hash != 0 && WHashValOfLHashVal(hash) != NameHash(sought)) {
        *found = 0;
        return S_OK;
    }
    USHORT room = *found;
    USHORT count = 0;
    for (auto& info : m_infos) {
        if (count >= room)
            break;
        MEMBERID member = MEMBERID_NIL;
        if (!SameName(info->Name(), sought)) {
            member = info->FindMember(sought);
            if (member == MEMBERID_NIL)
                continue;
        }
        AddRef();
        typeInfos[count] = info.get();
        members[count] = member;
        ++count;
    }
    *found = count;
    return S_OK;
}

void TableTypeLibrary::ReleaseTLibAttr(TLIBATTR*) {}

// --- Making them -----------------------------------------------------------

Ref<ITypeInfo> MakeInterfaceTypeInfo(const InterfaceDescription& description)
{
    auto info = std::make_unique<TableTypeInfo>(description, nullptr, 0);
    return Ref<ITypeInfo>(static_cast<ITypeInfo*>(info.release()));
}

Ref<ITypeLib> MakeTypeLibrary(const LibraryDescription& description)
{
    auto library = std::make_unique<TableTypeLibrary>(description);
    return Ref<ITypeLib>(static_cast<ITypeLib*>(library.release()));
}

}  // namespace vellumry::com
