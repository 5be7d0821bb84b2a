// Reading, writing and calling members of automation objects by name through
// the automation commands, with test objects that record what they received.

#include "automation/InvokeByName.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "automation/AutomationCalls.h"
#include "automation/AutomationError.h"
#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "runtime/CommandCall.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "tests/automation/ProbeObjects.h"
#include "tests/support/AutomationSetup.h"
#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry;
using namespace vellumry::automation::calls;
using automation::AutomationError;
using runtime::TypedValue;
using test::Probe;
using test::PrintTo;
using test::RawDispatch;

std::string Str(const OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

class InvokeByNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::InstallAutomationForTests();
        CoInitialize(nullptr);
        m_probe = NewObject();
        m_probe->object = com::MakeObject<Probe>().Detach()->Identity();
    }
    void TearDown() override
    {
        m_probe.reset();
        EXPECT_EQ(Probe::alive, 0) << "every probe was released";
        CoUninitialize();
    }

    automation::ObjectHolder* Target() { return m_probe.get(); }
    // A holder for any object.
    OwnedObject Holding(IUnknown* object)
    {
        OwnedObject holder = NewObject();
        holder->object = object;
        return holder;
    }

    OwnedObject m_probe;
};

TEST_F(InvokeByNameTest, ReadsWritesAndCallsByName)
{
    EXPECT_EQ(ReadNumberProperty(Target(), "Count"), 7.0) << "a 32-bit Count read as a number";
    EXPECT_EQ(AutomationError(), 0);
    EXPECT_EQ(Str(ReadTextProperty(Target(), "count")), "7") << "names bind without letter case";
    EXPECT_TRUE(WriteProperty(Target(), "Name", {Text("renamed")}));
    EXPECT_EQ(Probe::last.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    EXPECT_EQ(Probe::last.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(Str(ReadTextProperty(Target(), "Name")), "renamed");
    EXPECT_EQ(Str(CallTextMethod(Target(), "Join", {Text("a"), Text("b")})), "ab");
    EXPECT_EQ(Probe::last.flags, DISPATCH_METHOD);
    EXPECT_EQ(Str(ReadTextProperty(Target(), "Ratio")), "2.5");
    EXPECT_EQ(Str(ReadTextProperty(Target(), "Flag")), "-1") << "a variable; true as text";
    EXPECT_EQ(Probe::last.flags, DISPATCH_PROPERTYGET);

    OwnedVariant stamp = ReadProperty(Target(), "Stamp");
    EXPECT_EQ(stamp->vt, VT_DATE) << "a Variant result is the value unchanged";
    OwnedObject made = CallObjectMethod(Target(), "Make");
    EXPECT_FALSE(IsEmptyObject(made.get()));
    EXPECT_EQ(ReadNumberProperty(made.get(), "Count"), 7.0);
}

TEST_F(InvokeByNameTest, WritesAVariableOfAnObjectTypeByReferenceAssignment)
{
    OwnedObject child = CallObjectMethod(Target(), "Make");
    ASSERT_TRUE(WriteProperty(Target(), "Child", {ObjectArgument(child.get())}));
    EXPECT_EQ(Probe::last.flags, DISPATCH_PROPERTYPUTREF);
    EXPECT_EQ(Probe::last.types, std::vector<VARTYPE>{VT_DISPATCH});
    ASSERT_TRUE(WriteProperty(Target(), "Flag", {TypedValue::OfBool(false)}));
    EXPECT_EQ(Probe::last.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(Str(ReadTextProperty(Target(), "Flag")), "0");
    EXPECT_FALSE(IsEmptyObject(ReadObjectProperty(Target(), "Child").get()));
}

TEST_F(InvokeByNameTest, PassesArgumentsInTheCallersOrderWithTrailingOmittedOnesDropped)
{
    CallMethod(Target(), "Pair", {Text("a"), TypedValue()});
    EXPECT_EQ(Probe::last.types, std::vector<VARTYPE>{VT_BSTR}) << "a trailing omitted argument is not passed";
    CallMethod(Target(), "Pair", {TypedValue(), Text("b")});
    ASSERT_EQ(Probe::last.types, (std::vector<VARTYPE>{VT_ERROR, VT_BSTR}));
    EXPECT_EQ(Probe::last.errors[0], DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(Probe::last.texts[1], u"b");
    // An empty variant travels as an omitted argument too.
    OwnedVariant empty = NewVariant();
    ClearVariant(empty.get());
    CallMethod(Target(), "Pair", {VariantArgument(empty.get()), TypedValue::OfInt(1)});
    ASSERT_EQ(Probe::last.types, (std::vector<VARTYPE>{VT_ERROR, VT_I4}));
    EXPECT_EQ(AutomationError(), 0);
}

struct ArgumentCase {
    const char* label;
    TypedValue value;
    VARTYPE type;
    double number;
};

class ArgumentConversion : public InvokeByNameTest, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(ArgumentConversion, BecomesTheVariantOfItsType)
{
    const ArgumentCase& c = GetParam();
    CallMethod(Target(), "Pair", {c.value});
    ASSERT_EQ(AutomationError(), 0);
    ASSERT_EQ(Probe::last.types.size(), 1u);
    EXPECT_EQ(Probe::last.types[0], c.type);
    EXPECT_EQ(Probe::last.numbers[0], c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArgumentConversion,
    ::testing::Values(ArgumentCase{"BoolTrueIsMinusOne", TypedValue::OfBool(true), VT_BOOL, -1},
                      ArgumentCase{"DateTime", TypedValue::OfDouble(45306.5, runtime::kDateTimeType), VT_DATE, 45306.5},
                      ArgumentCase{"Byte", TypedValue::OfByte(200), VT_UI1, 200},
                      ArgumentCase{"Short", TypedValue::OfShort(-5), VT_I2, -5},
                      ArgumentCase{"Integer", TypedValue::OfInt(123456), VT_I4, 123456},
                      ArgumentCase{"LongKeepsItsLowWord", TypedValue::OfLong(0x100000005LL), VT_I4, 5},
                      ArgumentCase{"Float", TypedValue::OfFloat(1.5f), VT_R4, 1.5},
                      ArgumentCase{"Double", TypedValue::OfDouble(-0.25), VT_R8, -0.25}),
    test::RowLabel());

TEST_F(InvokeByNameTest, TextsTravelAsUtf16AndObjectsAsTheirDeclaredInterface)
{
    std::string gbk = test::Gbk("中文");
    CallMethod(Target(), "Pair", {Text(gbk.c_str())});
    EXPECT_EQ(Probe::last.texts[0], u"中文");
    CallMethod(Target(), "Pair", {ObjectArgument(Target())});
    EXPECT_EQ(Probe::last.types[0], VT_DISPATCH) << "a VARIANT parameter gets the object's IDispatch";
    CallMethod(Target(), "TakeUnknown", {ObjectArgument(Target())});
    EXPECT_EQ(Probe::last.types[0], VT_UNKNOWN);
    OwnedVariant variant = NewVariant();
    AssignVariant(variant.get(), Text("v"));
    CallMethod(Target(), "Pair", {VariantArgument(variant.get())});
    EXPECT_EQ(Probe::last.texts[0], u"v");

    std::uint8_t bytes[] = {1, 0, 0, 0, 2, 0, 0, 0, 'x', 'y'};
    CallMethod(Target(), "Pair", {TypedValue::OfPointer(runtime::kByteSetType, bytes)});
    EXPECT_EQ(AutomationError(), automation::kArgumentRefused) << "a byte-set cannot be passed";
}

TEST_F(InvokeByNameTest, CopiesOutputParametersBackIntoTheCallersVariables)
{
    char* text = runtime::MakeText(test::Gbk("值"));
    std::int32_t number = 5;
    CallMethod(Target(), "Outputs",
               {ByReference(runtime::kTextType, &text), ByReference(runtime::kIntType, &number)});
    ASSERT_EQ(AutomationError(), 0);
    EXPECT_EQ(Probe::last.types, (std::vector<VARTYPE>{VT_BYREF | VT_BSTR, VT_BYREF | VT_I4}));
    EXPECT_EQ(test::Utf8(text), "值!");
    EXPECT_EQ(number, 42);
    runtime::RuntimeFree(text);

    // Values given by value are changed to the declared type all the same,
    // and nothing is written back.
    CallMethod(Target(), "Outputs", {TypedValue::OfInt(3), TypedValue::OfDouble(1.0)});
    EXPECT_EQ(AutomationError(), 0);
    EXPECT_EQ(Probe::last.types, (std::vector<VARTYPE>{VT_BYREF | VT_BSTR, VT_BYREF | VT_I4}));
    EXPECT_EQ(Probe::last.texts.size(), 2u);
}

TEST_F(InvokeByNameTest, VariableArgumentListsTakeAnyNumber)
{
    EXPECT_EQ(Str(CallTextMethod(Target(), "Sum", {TypedValue::OfInt(1), TypedValue::OfInt(2), TypedValue::OfInt(3)})),
              "6");
    EXPECT_EQ(AutomationError(), 0);
}

struct CodeCase {
    const char* label;
    HRESULT hr;
    std::int32_t code;
};

class InvokeFailureCodes : public InvokeByNameTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(InvokeFailureCodes, BecomeTheirAutomationError)
{
    OwnedObject raw = Holding(com::MakeObject<RawDispatch>(GetParam().hr).Detach());
    EXPECT_EQ(ReadNumberProperty(raw.get(), "Go"), 0.0);
    EXPECT_EQ(AutomationError(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Table, InvokeFailureCodes,
                         ::testing::Values(CodeCase{"BadParamCount", DISP_E_BADPARAMCOUNT, -9},
                                           CodeCase{"BadVarType", DISP_E_BADVARTYPE, -10},
                                           CodeCase{"Exception", DISP_E_EXCEPTION, -11},
                                           CodeCase{"MemberNotFound", DISP_E_MEMBERNOTFOUND, -12},
                                           CodeCase{"NoNamedArgs", DISP_E_NONAMEDARGS, -13},
                                           CodeCase{"Overflow", DISP_E_OVERFLOW, -14},
                                           CodeCase{"ParamNotFound", DISP_E_PARAMNOTFOUND, -15},
                                           CodeCase{"TypeMismatch", DISP_E_TYPEMISMATCH, -16},
                                           CodeCase{"ParamNotOptional", DISP_E_PARAMNOTOPTIONAL, -17},
                                           CodeCase{"AnyOther", E_FAIL, -18}, CodeCase{"Success", S_OK, 0}),
                         test::RowLabel());

TEST_F(InvokeByNameTest, FailuresBeforeTheCallHaveTheirOwnCodes)
{
    OwnedObject empty = NewObject();
    EXPECT_EQ(Str(ReadTextProperty(empty.get(), "Name")), "");
    EXPECT_EQ(AutomationError(), automation::kEmptyObject);

    OwnedObject plain = Holding(com::MakeObject<RawDispatch>(S_OK).Detach());
    auto noInfo = com::MakeObject<RawDispatch>(S_OK);
    noInfo->withoutTypeInfo = true;
    OwnedObject withoutInfo = Holding(noInfo.Detach());
    EXPECT_EQ(ReadNumberProperty(withoutInfo.get(), "Go"), 0.0);
    EXPECT_EQ(AutomationError(), automation::kNoTypeInformation);

    auto nested = com::MakeObject<RawDispatch>(S_OK);
    nested->nestedType = true;
    OwnedObject nestedHolder = Holding(nested.Detach());
    ReadNumberProperty(nestedHolder.get(), "Go");
    EXPECT_EQ(AutomationError(), automation::kNoSuchMember) << "a nested type is no member";

    OwnedObject missing = ReadObjectProperty(Target(), "Missing");
    EXPECT_TRUE(IsEmptyObject(missing.get())) << "a new empty holder";
    EXPECT_EQ(AutomationError(), automation::kNoSuchMember);
    EXPECT_EQ(ReadNumberProperty(Target(), "Count"), 7.0);
    EXPECT_EQ(AutomationError(), 0) << "the next success resets the code";

    EXPECT_FALSE(WriteProperty(Target(), "Missing", {TypedValue::OfInt(1)}));
    EXPECT_FALSE(WriteProperty(Target(), "Count", {TypedValue::OfInt(1)})) << "a read-only property";
    EXPECT_EQ(ReadNumberProperty(Target(), "Count", {TypedValue::OfInt(1)}), 0.0);
    EXPECT_EQ(AutomationError(), automation::kTooManyArguments);
    EXPECT_EQ(Str(CallTextMethod(Target(), "Join")), "");
    EXPECT_EQ(AutomationError(), automation::kBadParamCount) << "a required argument is missing";
    CallTextMethod(Target(), "Join", {TypedValue(), Text("b")});
    EXPECT_EQ(AutomationError(), automation::kParamNotOptional);
    OwnedObject notAnObject = ReadObjectProperty(Target(), "Name");
    EXPECT_TRUE(IsEmptyObject(notAnObject.get()));
    EXPECT_EQ(AutomationError(), automation::kResultNotConverted);
    CallMethod(Target(), "Fail");
    EXPECT_EQ(AutomationError(), automation::kException);
}

TEST_F(InvokeByNameTest, AnObjectWithoutDispatchIsRefused)
{
    struct Bare final : com::ComImplementation<Bare, IUnknown> {};
    OwnedObject bare = Holding(com::MakeObject<Bare>().Detach());
    EXPECT_EQ(ReadNumberProperty(bare.get(), "Count"), 0.0);
    EXPECT_EQ(AutomationError(), automation::kNoDispatch);
}

TEST_F(InvokeByNameTest, EachThreadKeepsItsOwnCode)
{
    OwnedObject empty = NewObject();
    ReadNumberProperty(empty.get(), "Count");
    ASSERT_EQ(AutomationError(), automation::kEmptyObject);
    std::thread other([] {
        EXPECT_EQ(AutomationError(), 0);
        automation::SetAutomationError(automation::kOtherFailure);
    });
    other.join();
    EXPECT_EQ(AutomationError(), automation::kEmptyObject);
}

}  // namespace
