#include "platform/vbscript/RegExpComponent.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "tests/platform/vbscript/RegExpClient.h"

namespace {

using namespace vellumry::com;
using vellumry::test::BoolVariant;
using vellumry::test::RegExpClient;
using vellumry::test::TextVariant;

constexpr SCODE kInvalidCall = MakeHresult(0x800A0005);
constexpr SCODE kMatchLimit = MakeHresult(0x800A001C);

VARIANT Index(LONG value)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

TEST(RegExpComponent, StartsEmptyAndKeepsItsProperties)
{
    RegExpClient client;
    ScopedVariant value;
    ASSERT_EQ(client.Invoke(client.Object(), u"Pattern", DISPATCH_PROPERTYGET, {}, value.Ptr()), S_OK);
    EXPECT_EQ(BstrView(value->bstrVal), u"");
    for (const char16_t* name : {u"IgnoreCase", u"Global", u"Multiline"}) {
        ScopedVariant flag;
        ASSERT_EQ(client.Invoke(client.Object(), name, DISPATCH_PROPERTYGET, {}, flag.Ptr()), S_OK);
        EXPECT_EQ(flag->vt, VT_BOOL);
        EXPECT_EQ(flag->boolVal, VARIANT_FALSE);
        ASSERT_EQ(client.Put(name, BoolVariant(true)), S_OK);
        ScopedVariant changed;
        client.Invoke(client.Object(), name, DISPATCH_PROPERTYGET, {}, changed.Ptr());
        EXPECT_EQ(changed->boolVal, VARIANT_TRUE);
    }
    ASSERT_EQ(client.Put(u"Pattern", TextVariant(u"a+")), S_OK);
    ScopedVariant pattern;
    client.Invoke(client.Object(), u"Pattern", DISPATCH_PROPERTYGET, {}, pattern.Ptr());
    EXPECT_EQ(BstrView(pattern->bstrVal), u"a+");
    EXPECT_EQ(client.Put(u"Singleline", BoolVariant(true)), DISP_E_UNKNOWNNAME) << "there is no such property";
}

TEST(RegExpComponent, TestTellsWhetherThereIsAMatch)
{
    RegExpClient client;
    client.Configure(u"\\d+", {});
    ScopedVariant yes, no;
    ASSERT_EQ(client.Invoke(client.Object(), u"Test", DISPATCH_METHOD, {TextVariant(u"a12")}, yes.Ptr()), S_OK);
    EXPECT_EQ(yes->boolVal, VARIANT_TRUE);
    ASSERT_EQ(client.Invoke(client.Object(), u"Test", DISPATCH_METHOD, {TextVariant(u"abc")}, no.Ptr()), S_OK);
    EXPECT_EQ(no->boolVal, VARIANT_FALSE);
}

TEST(RegExpComponent, RefusesIndexesOutsideItsCollections)
{
    RegExpClient client;
    client.Configure(u"(a)(b)?", {false, false, true});
    ScopedVariant matches;
    ASSERT_EQ(client.Invoke(client.Object(), u"Execute", DISPATCH_METHOD, {TextVariant(u"a a")}, matches.Ptr()), S_OK);
    ScopedVariant item;
    SCODE code = 0;
    EXPECT_EQ(client.Invoke(matches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Index(2)}, item.Ptr(), &code),
              DISP_E_EXCEPTION);
    EXPECT_EQ(code, kInvalidCall);
    EXPECT_EQ(client.Invoke(matches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Index(-1)}, item.Ptr(), &code),
              DISP_E_EXCEPTION);

    ScopedVariant match, subMatches, sub;
    ASSERT_EQ(client.Invoke(matches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Index(1)}, match.Ptr()), S_OK);
    // The match outlives the collection it came from.
    VariantClear(matches.Ptr());
    client.Invoke(match->pdispVal, u"SubMatches", DISPATCH_PROPERTYGET, {}, subMatches.Ptr());
    EXPECT_EQ(client.Invoke(subMatches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Index(2)}, sub.Ptr(), &code),
              DISP_E_EXCEPTION);
    EXPECT_EQ(code, kInvalidCall);
    ScopedVariant first;
    ASSERT_EQ(client.Invoke(match->pdispVal, u"FirstIndex", DISPATCH_PROPERTYGET, {}, first.Ptr()), S_OK);
    EXPECT_EQ(first->lVal, 2);
}

TEST(RegExpComponent, AHostilePatternFailsTheSearchInsteadOfRunningOn)
{
    RegExpClient client;
    client.Configure(u"(a+)+$", {false, false, true});
    std::u16string subject(50'000, u'a');
    subject += u'!';
    EXPECT_EQ(client.Execute(subject), "error 800A001C");
    ScopedVariant tested;
    SCODE code = 0;
    EXPECT_EQ(client.Invoke(client.Object(), u"Test", DISPATCH_METHOD, {TextVariant(subject)}, tested.Ptr(), &code),
              DISP_E_EXCEPTION);
    EXPECT_EQ(code, kMatchLimit);
    // The object stays usable.
    EXPECT_EQ(client.Execute(u"aa"), "0,2,aa[aa]");
}

TEST(RegExpComponent, ReplaceTakesAnyValueThatIsText)
{
    RegExpClient client;
    client.Configure(u"b", {false, false, true});
    ScopedVariant result;
    VARIANT number{};
    number.vt = VT_I4;
    number.lVal = 5;
    ASSERT_EQ(client.Invoke(client.Object(), u"Replace", DISPATCH_METHOD, {TextVariant(u"abc"), number}, result.Ptr()),
              S_OK);
    EXPECT_EQ(BstrView(result->bstrVal), u"a5c");
    VARIANT missing{};
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(client.Invoke(client.Object(), u"Replace", DISPATCH_METHOD, {TextVariant(u"abc"), missing}, result.Ptr()),
              DISP_E_PARAMNOTOPTIONAL);
}

TEST(RegExpComponent, ItsTypeLibraryLivesInVbscriptDllResourceThree)
{
    RegExpClient client;  // registers the component
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(u"C:\\Windows\\System32\\vbscript.dll\\3", library.Put()), S_OK);
    ITypeInfo* infos[2] = {};
    MEMBERID members[2] = {};
    USHORT found = 2;
    OLECHAR regExp[] = u"RegExp";
    ASSERT_EQ(library->FindName(regExp, 0, infos, members, &found), S_OK);
    ASSERT_EQ(found, 1);
    Ref<ITypeInfo> coclass = Ref<ITypeInfo>::Adopt(infos[0]);
    Ref<IDispatch> object;
    ASSERT_EQ(coclass->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
    EXPECT_TRUE(object);

    OLECHAR item[] = u"Item";
    found = 2;
    ASSERT_EQ(library->FindName(item, 0, infos, members, &found), S_OK);
    EXPECT_EQ(found, 2) << "the match collection and the sub-match collection";
    for (USHORT i = 0; i < found; ++i)
        infos[i]->Release();
}

}  // namespace
