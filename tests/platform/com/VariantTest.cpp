#include <gtest/gtest.h>

#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "tests/platform/com/TestObjects.h"

namespace {

using namespace vellumry::com;
using vellumry::test::Plain;
using vellumry::test::RefCount;

TEST(Bstr, KeepsItsLengthInBytesBeforeTheCharacters)
{
    UniqueBstr text(SysAllocStringLen(u"ab\0cd", 5));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text.get()), 5u);
    EXPECT_EQ(SysStringByteLen(text.get()), 10u);
    EXPECT_EQ(BstrView(text.get()), std::u16string_view(u"ab\0cd", 5));
    EXPECT_EQ(text.get()[5], u'\0');
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFF), nullptr) << "a length beyond the 32-bit prefix fails";
}

TEST(Bstr, ReallocationKeepsOrReplacesTheCharacters)
{
    BSTR text = SysAllocString(u"abcdef");
    ASSERT_TRUE(SysReAllocStringLen(&text, text, 3));
    EXPECT_EQ(BstrView(text), u"abc");
    EXPECT_EQ(text[3], u'\0');
    ASSERT_TRUE(SysReAllocStringLen(&text, text + 1, 2)) << "a source inside the old text";
    EXPECT_EQ(BstrView(text), u"bc");
    ASSERT_TRUE(SysReAllocStringLen(&text, nullptr, 4));
    EXPECT_EQ(BstrView(text), std::u16string_view(u"bc\0\0", 4));
    EXPECT_FALSE(SysReAllocStringLen(&text, nullptr, 0x7FFFFFFF));
    EXPECT_EQ(BstrView(text).size(), 4u) << "unchanged after a failure";
    SysFreeString(text);
}

TEST(Variant, ClearReleasesWhatTheVariantOwns)
{
    Ref<Plain> object = MakeObject<Plain>();
    VARIANT v{};
    v.vt = VT_UNKNOWN;
    v.punkVal = Ref<Plain>(object).Detach();
    EXPECT_EQ(RefCount(object.Get()), 2u);
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(RefCount(object.Get()), 1u);

    // A reference owns nothing.
    LONG value = 3;
    v.vt = VT_BYREF | VT_I4;
    v.plVal = &value;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(value, 3);

    v.vt = 0x7F;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
    EXPECT_EQ(v.vt, 0x7F) << "an invalid variant is left alone";
}

TEST(Variant, CopyIsDeepAndCopyIndReadsThroughReferences)
{
    ScopedVariant text;
    text->vt = VT_BSTR;
    text->bstrVal = SysAllocString(u"hello");
    ScopedVariant copy;
    ASSERT_EQ(VariantCopy(copy.Ptr(), text.Ptr()), S_OK);
    EXPECT_NE(copy->bstrVal, text->bstrVal);
    EXPECT_EQ(BstrView(copy->bstrVal), u"hello");

    ScopedVariant reference;
    reference->vt = VT_BYREF | VT_VARIANT;
    reference->pvarVal = text.Ptr();
    ScopedVariant shallow;
    ASSERT_EQ(VariantCopy(shallow.Ptr(), reference.Ptr()), S_OK);
    EXPECT_EQ(shallow->pvarVal, text.Ptr()) << "VariantCopy keeps a reference a reference";
    ScopedVariant resolved;
    ASSERT_EQ(VariantCopyInd(resolved.Ptr(), reference.Ptr()), S_OK);
    EXPECT_EQ(resolved->vt, VT_BSTR);
    EXPECT_EQ(BstrView(resolved->bstrVal), u"hello");

    // A reference to a variant that is itself a reference is refused.
    ScopedVariant twice;
    twice->vt = VT_BYREF | VT_VARIANT;
    twice->pvarVal = reference.Ptr();
    ScopedVariant target;
    EXPECT_EQ(VariantCopyInd(target.Ptr(), twice.Ptr()), E_INVALIDARG);

    // Copying a variant onto itself through CopyInd keeps the value.
    LONG number = 12;
    VARIANT self{};
    self.vt = VT_BYREF | VT_I4;
    self.plVal = &number;
    ASSERT_EQ(VariantCopyInd(&self, &self), S_OK);
    EXPECT_EQ(self.vt, VT_I4);
    EXPECT_EQ(self.lVal, 12);
}

TEST(Variant, CopyOfAnArrayCopiesItsElements)
{
    ScopedVariant array;
    array->vt = VT_ARRAY | VT_BSTR;
    array->parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    LONG index = 0;
    UniqueBstr text(SysAllocString(u"x"));
    ASSERT_EQ(SafeArrayPutElement(array->parray, &index, text.get()), S_OK);
    ScopedVariant copy;
    ASSERT_EQ(VariantCopy(copy.Ptr(), array.Ptr()), S_OK);
    ASSERT_NE(copy->parray, array->parray);
    BSTR element = nullptr;
    ASSERT_EQ(SafeArrayGetElement(copy->parray, &index, &element), S_OK);
    EXPECT_EQ(BstrView(element), u"x");
    SysFreeString(element);
}

}  // namespace
