#include "platform/com/TypeDescription.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "tests/platform/com/TestObjects.h"

namespace {

using namespace vellumry::com;
using vellumry::test::Plain;

constexpr IID kIidThing = {0x11111111, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kThingClass = {0x22222222, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kLibraryId = {0x33333333, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

const InterfaceDescription kThing{
    u"IThing",
    kIidThing,
    {
        {u"Name", 1, MemberKind::PropertyGet, VT_BSTR},
        {u"Name", 1, MemberKind::PropertyPut, VT_EMPTY, {{u"value", VT_BSTR}}},
        {u"Add", 2, MemberKind::Method, VT_I4, {{u"step", VT_I4}, {u"more", VT_VARIANT, PARAMFLAG_FIN | PARAMFLAG_FOPT}}},
        {u"Swap", 3, MemberKind::Method, VT_EMPTY,
         {{u"text", VT_BYREF | VT_BSTR, PARAMFLAG_FIN | PARAMFLAG_FOUT}, {u"list", VT_ARRAY | VT_VARIANT}}},
        {u"Flag", 4, MemberKind::Variable, VT_BOOL},
    },
};
const ClassDescription kThingCoclass{u"Thing", kThingClass, {&kThing}};
const LibraryDescription kLibrary{u"ThingLibrary", kLibraryId, 2, 1, {&kThing}, {&kThingCoclass}};

struct Bound {
    Ref<ITypeInfo> info;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR pointer{};
};

Bound BindName(ITypeInfo* info, std::u16string name, WORD flags, ULONG hash = 0)
{
    Ref<ITypeComp> comp;
    EXPECT_EQ(info->GetTypeComp(comp.Put()), S_OK);
    Bound bound;
    EXPECT_EQ(comp->Bind(name.data(), hash, flags, bound.info.Put(), &bound.kind, &bound.pointer), S_OK);
    return bound;
}

TEST(TypeInfo, BindsFunctionsByInvokeKindAndVariablesByAnyKind)
{
    Ref<ITypeInfo> info = MakeInterfaceTypeInfo(kThing);
    Bound get = BindName(info.Get(), u"name", INVOKE_PROPERTYGET);
    ASSERT_EQ(get.kind, DESCKIND_FUNCDESC);
    EXPECT_EQ(get.pointer.lpfuncdesc->invkind, INVOKE_PROPERTYGET);
    EXPECT_EQ(get.pointer.lpfuncdesc->elemdescFunc.tdesc.vt, VT_BSTR);
    Bound put = BindName(info.Get(), u"NAME", INVOKE_PROPERTYPUT);
    ASSERT_EQ(put.kind, DESCKIND_FUNCDESC);
    EXPECT_EQ(put.pointer.lpfuncdesc->cParams, 1);
    EXPECT_EQ(BindName(info.Get(), u"Name", INVOKE_FUNC).kind, DESCKIND_NONE);
    EXPECT_EQ(BindName(info.Get(), u"Nope", 0).kind, DESCKIND_NONE);
    Bound flag = BindName(info.Get(), u"flag", INVOKE_FUNC);
    ASSERT_EQ(flag.kind, DESCKIND_VARDESC);
    EXPECT_EQ(flag.pointer.lpvardesc->varkind, VAR_DISPATCH);
    EXPECT_EQ(flag.pointer.lpvardesc->elemdescVar.tdesc.vt, VT_BOOL);
}

TEST(TypeInfo, TheHashMustBeTheName)
{
    Ref<ITypeInfo> info = MakeInterfaceTypeInfo(kThing);
    ULONG hash = LHashValOfNameSys(SYS_WIN32, 0x0804, u"add");
    EXPECT_EQ(hash, LHashValOfNameSys(SYS_WIN32, 0x0804, u"ADD")) << "letter case does not change the hash";
    EXPECT_TRUE(IsHashValCompatible(hash, LHashValOfNameSys(SYS_WIN32, 0x0804, u"Name")));
    EXPECT_FALSE(IsHashValCompatible(hash, LHashValOfNameSys(SYS_WIN64, 0x0804, u"add")));
    EXPECT_EQ(BindName(info.Get(), u"Add", INVOKE_FUNC, hash).kind, DESCKIND_FUNCDESC);
    ULONG other = LHashValOfNameSys(SYS_WIN32, 0x0804, u"Swap");
    EXPECT_EQ(BindName(info.Get(), u"Add", INVOKE_FUNC, other).kind, DESCKIND_NONE);
}

TEST(TypeInfo, DescribesParametersAsTypeLibrariesDo)
{
    Ref<ITypeInfo> info = MakeInterfaceTypeInfo(kThing);
    Bound swap = BindName(info.Get(), u"Swap", INVOKE_FUNC);
    ASSERT_EQ(swap.kind, DESCKIND_FUNCDESC);
    const FUNCDESC& f = *swap.pointer.lpfuncdesc;
    ASSERT_EQ(f.cParams, 2);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_PTR);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.lptdesc->vt, VT_BSTR);
    EXPECT_TRUE(f.lprgelemdescParam[0].paramdesc.wParamFlags & PARAMFLAG_FOUT);
    EXPECT_EQ(f.lprgelemdescParam[1].tdesc.vt, VT_SAFEARRAY);
    EXPECT_EQ(f.lprgelemdescParam[1].tdesc.lptdesc->vt, VT_VARIANT);
    EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_VOID);
    Bound add = BindName(info.Get(), u"Add", INVOKE_FUNC);
    EXPECT_TRUE(add.pointer.lpfuncdesc->lprgelemdescParam[1].paramdesc.wParamFlags & PARAMFLAG_FOPT);

    OLECHAR addName[] = u"add";
    OLECHAR moreName[] = u"More";
    OLECHAR missing[] = u"less";
    LPOLESTR names[] = {addName, moreName, missing};
    MEMBERID ids[3];
    EXPECT_EQ(info->GetIDsOfNames(names, 2, ids), S_OK);
    EXPECT_EQ(ids[0], 2);
    EXPECT_EQ(ids[1], 1);
    EXPECT_EQ(info->GetIDsOfNames(names + 2, 1, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], MEMBERID_NIL);

    BSTR found[4] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(2, found, 4, &count), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(BstrView(found[0]), u"Add");
    EXPECT_EQ(BstrView(found[2]), u"more");
    for (UINT i = 0; i < count; ++i)
        SysFreeString(found[i]);
}

HRESULT CreateThing(REFIID riid, void** object)
{
    return MakeObject<Plain>()->QueryInterface(riid, object);
}

TEST(TypeLibrary, FindsTypesAndMembersByNameAndCreatesItsClasses)
{
    Ref<ITypeLib> library = MakeTypeLibrary(kLibrary);
    EXPECT_EQ(library->GetTypeInfoCount(), 2u);
    OLECHAR thing[] = u"thing";
    ITypeInfo* infos[2] = {};
    MEMBERID members[2] = {};
    USHORT found = 2;
    ASSERT_EQ(library->FindName(thing, 0, infos, members, &found), S_OK);
    ASSERT_EQ(found, 1);
    EXPECT_EQ(members[0], MEMBERID_NIL) << "the class's own name";
    Ref<ITypeInfo> coclass = Ref<ITypeInfo>::Adopt(infos[0]);

    OLECHAR flag[] = u"Flag";
    found = 2;
    ASSERT_EQ(library->FindName(flag, 0, infos, members, &found), S_OK);
    ASSERT_EQ(found, 1);
    EXPECT_EQ(members[0], 4);
    infos[0]->Release();

    // The class's interface, and instances through the class registry.
    Ref<ITypeInfo> interface;
    ASSERT_EQ(coclass->GetRefTypeInfo(0, interface.Put()), S_OK);
    BSTR name = nullptr;
    interface->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    EXPECT_EQ(BstrView(name), u"IThing");
    SysFreeString(name);
    Ref<IUnknown> object;
    EXPECT_EQ(interface->CreateInstance(nullptr, IID_IUnknown, object.PutVoid()), TYPE_E_WRONGTYPEKIND);
    RegisterComClass({u"", kThingClass, &CreateThing});
    CoInitialize(nullptr);
    EXPECT_EQ(coclass->CreateInstance(nullptr, IID_IUnknown, object.PutVoid()), S_OK);
    EXPECT_TRUE(object);
    CoUninitialize();
    UnregisterComClass(kThingClass);

    // Type information keeps its library alive.
    Ref<ITypeLib> container;
    library.Reset();
    UINT index = 9;
    ASSERT_EQ(interface->GetContainingTypeLib(container.Put(), &index), S_OK);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(container->GetTypeInfoCount(), 2u);
}

TEST(TypeLibrary, LoadsBuiltInLibrariesByFileNameAndResourceAndRecordsRegistrations)
{
    RegisterBuiltinTypeLibrary(u"things.dll", 2, kLibrary);
    Ref<ITypeLib> library;
    EXPECT_EQ(LoadTypeLib(u"C:\\Program Files\\Things\\THINGS.DLL\\2", library.Put()), S_OK);
    EXPECT_EQ(LoadTypeLib(u"things\\2", library.Put()), S_OK);
    EXPECT_EQ(LoadTypeLib(u"things.dll", library.Put()), TYPE_E_CANTLOADLIBRARY) << "resource 1 is not there";
    EXPECT_EQ(LoadTypeLib(u"other.dll\\2", library.Put()), TYPE_E_CANTLOADLIBRARY);
    EXPECT_EQ(LoadTypeLib(u"\\2", library.Put()), TYPE_E_CANTLOADLIBRARY);

    ASSERT_EQ(LoadTypeLib(u"things.dll\\2", library.Put()), S_OK);
    BSTR path = nullptr;
    EXPECT_EQ(QueryPathOfRegTypeLib(kLibraryId, 2, 1, 0, &path), TYPE_E_LIBNOTREGISTERED);
    ASSERT_EQ(RegisterTypeLib(library.Get(), u"C:\\Things\\things.dll\\2", nullptr), S_OK);
    ASSERT_EQ(QueryPathOfRegTypeLib(kLibraryId, 2, 1, 0, &path), S_OK);
    EXPECT_EQ(BstrView(path), u"C:\\Things\\things.dll\\2");
    SysFreeString(path);
    UnregisterBuiltinTypeLibrary(u"things.dll", 2);
    EXPECT_EQ(LoadTypeLib(u"things.dll\\2", library.Put()), TYPE_E_CANTLOADLIBRARY);
}

}  // namespace
