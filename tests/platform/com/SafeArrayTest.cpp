#include <gtest/gtest.h>

#include <memory>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "tests/platform/com/TestObjects.h"

namespace {

using namespace vellumry::com;
using vellumry::test::Plain;
using vellumry::test::RefCount;

struct ArrayDeleter {
    void operator()(SAFEARRAY* array) const { SafeArrayDestroy(array); }
};
using UniqueArray = std::unique_ptr<SAFEARRAY, ArrayDeleter>;

TEST(SafeArray, TwoDimensionsWithLowerBoundsFirstDimensionFastest)
{
    SAFEARRAYBOUND bounds[2] = {{3, 1}, {2, -1}};  // rows 1..3, columns -1..0
    UniqueArray array(SafeArrayCreate(VT_I4, 2, bounds));
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayGetDim(array.get()), 2u);
    EXPECT_EQ(array->rgsabound[1].cElements, 3u) << "bounds are stored in reverse";
    LONG low = 0, high = 0;
    ASSERT_EQ(SafeArrayGetLBound(array.get(), 1, &low), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(array.get(), 1, &high), S_OK);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 3);
    ASSERT_EQ(SafeArrayGetLBound(array.get(), 2, &low), S_OK);
    EXPECT_EQ(low, -1);
    EXPECT_EQ(SafeArrayGetLBound(array.get(), 3, &low), DISP_E_BADINDEX);

    for (LONG column = -1; column <= 0; ++column)
        for (LONG row = 1; row <= 3; ++row) {
            LONG indices[2] = {row, column};
            LONG value = row * 10 + column;
            ASSERT_EQ(SafeArrayPutElement(array.get(), indices, &value), S_OK);
        }
    const LONG* data = static_cast<const LONG*>(array->pvData);
    EXPECT_EQ(data[0], 9);   // (1, -1)
    EXPECT_EQ(data[1], 19);  // (2, -1): the first dimension varies fastest
    EXPECT_EQ(data[3], 10);  // (1, 0)
    LONG outside[2] = {4, 0};
    LONG value = 0;
    EXPECT_EQ(SafeArrayPutElement(array.get(), outside, &value), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetElement(array.get(), outside, &value), DISP_E_BADINDEX);
}

TEST(SafeArray, ElementsThatOwnAreCopiedInAndReleasedOnDestroy)
{
    Ref<Plain> object = MakeObject<Plain>();
    UniqueArray array(SafeArrayCreateVector(VT_UNKNOWN, 0, 2));
    LONG index = 1;
    ASSERT_EQ(SafeArrayPutElement(array.get(), &index, object.Get()), S_OK);
    EXPECT_EQ(RefCount(object.Get()), 2u);
    ASSERT_EQ(SafeArrayPutElement(array.get(), &index, object.Get()), S_OK);
    EXPECT_EQ(RefCount(object.Get()), 2u) << "the element replaced is released";
    VARTYPE type = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(array.get(), &type), S_OK);
    EXPECT_EQ(type, VT_UNKNOWN);

    ASSERT_EQ(SafeArrayLock(array.get()), S_OK);
    EXPECT_EQ(SafeArrayDestroy(array.get()), DISP_E_ARRAYISLOCKED);
    ASSERT_EQ(SafeArrayUnlock(array.get()), S_OK);
    EXPECT_EQ(SafeArrayUnlock(array.get()), E_UNEXPECTED);
    array.reset();
    EXPECT_EQ(RefCount(object.Get()), 1u);
}

TEST(SafeArray, RefusesWhatItCannotHold)
{
    SAFEARRAYBOUND huge[2] = {{0x10000, 0}, {0x10000, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, huge), nullptr) << "32 GiB of elements";
    SAFEARRAYBOUND one{1, 0};
    EXPECT_EQ(SafeArrayCreate(VT_RECORD, 1, &one), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &one), nullptr);
    UniqueArray empty(SafeArrayCreateVector(VT_UI1, 1, 0));
    ASSERT_NE(empty, nullptr);
    LONG index = 1;
    BYTE b = 0;
    EXPECT_EQ(SafeArrayPutElement(empty.get(), &index, &b), DISP_E_BADINDEX);
}

TEST(SafeArray, CopyDuplicatesStrings)
{
    UniqueArray array(SafeArrayCreateVector(VT_BSTR, 5, 1));
    LONG index = 5;
    UniqueBstr text(SysAllocString(u"abc"));
    ASSERT_EQ(SafeArrayPutElement(array.get(), &index, text.get()), S_OK);
    SAFEARRAY* raw = nullptr;
    ASSERT_EQ(SafeArrayCopy(array.get(), &raw), S_OK);
    UniqueArray copy(raw);
    BSTR original = static_cast<BSTR*>(array->pvData)[0];
    BSTR copied = static_cast<BSTR*>(copy->pvData)[0];
    EXPECT_NE(original, copied);
    EXPECT_EQ(BstrView(copied), u"abc");
    LONG low = 0;
    SafeArrayGetLBound(copy.get(), 1, &low);
    EXPECT_EQ(low, 5);
}

}  // namespace
