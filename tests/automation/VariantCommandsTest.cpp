// AssignVariant, VariantToText, VariantToByteSet, CopyVariant and
// ClearVariant.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "automation/AutomationCalls.h"
#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "runtime/Values.h"
#include "tests/support/AutomationSetup.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using namespace vellumry::automation::calls;
using runtime::TypedValue;

std::string Str(const OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

std::string BytesOf(const OwnedByteSet& bytes)
{
    auto span = runtime::ByteSetBytes(bytes.get());
    return std::string(span.begin(), span.end());
}

class VariantCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { test::InstallAutomationForTests(); }
    OwnedVariant m_variant = NewVariant();
};

TEST_F(VariantCommandsTest, ANewVariantHoldsTheIntegerZero)
{
    EXPECT_EQ(m_variant->vt, VT_I4);
    EXPECT_EQ(Str(VariantToText(m_variant.get())), "0");
}

TEST_F(VariantCommandsTest, TextOfAnyValue)
{
    ASSERT_TRUE(AssignVariant(m_variant.get(), TypedValue::OfBool(true)));
    EXPECT_EQ(Str(VariantToText(m_variant.get())), "-1");
    ASSERT_TRUE(AssignVariant(m_variant.get(), TypedValue::OfDouble(2.5)));
    EXPECT_EQ(Str(VariantToText(m_variant.get())), "2.5");
    std::string gbk = test::Gbk("图片");
    ASSERT_TRUE(AssignVariant(m_variant.get(), Text(gbk.c_str())));
    EXPECT_EQ(m_variant->vt, VT_BSTR);
    EXPECT_EQ(com::BstrView(m_variant->bstrVal), u"图片");
    EXPECT_EQ(Str(VariantToText(m_variant.get())), gbk);
    EXPECT_EQ(BytesOf(VariantToByteSet(m_variant.get())), "") << "a text is no byte array";
}

TEST_F(VariantCommandsTest, AByteSetBecomesAByteArrayCountedFromOne)
{
    std::uint8_t bytes[] = {1, 0, 0, 0, 3, 0, 0, 0, 'a', 0, 'c'};
    ASSERT_TRUE(AssignVariant(m_variant.get(), TypedValue::OfPointer(runtime::kByteSetType, bytes)));
    ASSERT_EQ(m_variant->vt, VT_ARRAY | VT_UI1);
    LONG low = 0, high = 0;
    SafeArrayGetLBound(m_variant->parray, 1, &low);
    SafeArrayGetUBound(m_variant->parray, 1, &high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 3);
    EXPECT_EQ(BytesOf(VariantToByteSet(m_variant.get())), std::string("a\0c", 3));
    EXPECT_EQ(Str(VariantToText(m_variant.get(), 2)), "0") << "an element";
    EXPECT_EQ(Str(VariantToText(m_variant.get(), 3)), "99");
    EXPECT_EQ(Str(VariantToText(m_variant.get(), 4)), "") << "past the end";
    ASSERT_TRUE(AssignVariant(m_variant.get(), TypedValue::OfInt(66), 2));
    EXPECT_EQ(BytesOf(VariantToByteSet(m_variant.get())), "aBc");
    EXPECT_FALSE(AssignVariant(m_variant.get(), TypedValue::OfInt(300), 1)) << "no room in a byte";
    EXPECT_FALSE(AssignVariant(m_variant.get(), TypedValue::OfInt(1), 0));
}

TEST_F(VariantCommandsTest, AnIndexRunsThroughTheDimensionsFirstFastest)
{
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};  // 2 x 3, lower bounds 1 and 0
    ClearVariant(m_variant.get());
    m_variant->vt = VT_ARRAY | VT_VARIANT;
    m_variant->parray = SafeArrayCreate(VT_VARIANT, 2, bounds);
    for (std::int32_t position = 1; position <= 6; ++position)
        ASSERT_TRUE(AssignVariant(m_variant.get(), TypedValue::OfInt(position * 10), position)) << position;
    EXPECT_FALSE(AssignVariant(m_variant.get(), TypedValue::OfInt(0), 7));
    LONG indices[2] = {2, 1};  // second row, middle column: position 4
    VARIANT element{};
    ASSERT_EQ(SafeArrayGetElement(m_variant->parray, indices, &element), S_OK);
    EXPECT_EQ(element.lVal, 40);
    EXPECT_EQ(Str(VariantToText(m_variant.get(), 5)), "50");
    EXPECT_EQ(Str(VariantToText(m_variant.get())), "") << "an array as a whole is no text";
}

TEST_F(VariantCommandsTest, AVariantWithoutAnArrayTakesNoIndex)
{
    EXPECT_FALSE(AssignVariant(m_variant.get(), TypedValue::OfInt(5), 1));
    EXPECT_EQ(Str(VariantToText(m_variant.get(), 1)), "0") << "the variant itself";
    std::uint8_t bytes[] = {1, 0, 0, 0, 1, 0, 0, 0, 'z'};
    EXPECT_FALSE(AssignVariant(m_variant.get(), TypedValue::OfPointer(0x12345, bytes)));
    EXPECT_EQ(m_variant->vt, VT_EMPTY) << "cleared before the refused value";
}

TEST_F(VariantCommandsTest, AssignsAVariantToItselfAndCopies)
{
    AssignVariant(m_variant.get(), Text("same"));
    ASSERT_TRUE(AssignVariant(m_variant.get(), VariantArgument(m_variant.get())));
    EXPECT_EQ(Str(VariantToText(m_variant.get())), "same");

    OwnedVariant copy = NewVariant();
    std::memset(copy.get(), 0, sizeof(VARIANT));
    CopyVariant(copy.get(), m_variant.get());
    EXPECT_NE(copy->bstrVal, m_variant->bstrVal) << "a deep copy";
    EXPECT_EQ(Str(VariantToText(copy.get())), "same");
    ClearVariant(copy.get());
    VARIANT zero{};
    EXPECT_EQ(std::memcmp(copy.get(), &zero, sizeof zero), 0) << "all 16 bytes zero";
}

}  // namespace
