#include "platform/com/DispatchObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/Bstr.h"
#include "platform/com/VariantApi.h"

namespace {

using namespace vellumry::com;

constexpr IID kIidRecorder = {0x44444444, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

class Recorder final : public DispatchObject<Recorder> {
public:
    static const DispatchTable<Recorder>& Table()
    {
        static const DispatchTable<Recorder> table(
            u"IRecorder", kIidRecorder,
            {
                {{u"Echo", 1, MemberKind::Method, VT_BSTR,
                  {{u"text", VT_BSTR}, {u"times", VT_I4, PARAMFLAG_FIN | PARAMFLAG_FOPT}}},
                 &Recorder::Echo},
                {{u"Out", 2, MemberKind::Method, VT_EMPTY, {{u"value", VT_BYREF | VT_I4, PARAMFLAG_FOUT}}},
                 &Recorder::Out},
                {{u"Sum", 3, MemberKind::Method, VT_I4, {{u"values", VT_ARRAY | VT_VARIANT}}, true}, &Recorder::Sum},
                {{u"Name", 4, MemberKind::PropertyGet, VT_BSTR}, &Recorder::GetName},
                {{u"Name", 4, MemberKind::PropertyPut, VT_EMPTY, {{u"value", VT_BSTR}}}, &Recorder::PutName},
                {{u"Boom", 5, MemberKind::Method}, &Recorder::Boom},
                {{u"Flag", 6, MemberKind::Variable, VT_BOOL}, &Recorder::Flag},
            });
        return table;
    }

private:
    HRESULT Echo(InvokeCall& call)
    {
        std::u16string text;
        LONG times = call.IsGiven(1) ? call.Int(1) : 1;
        for (LONG i = 0; i < times; ++i)
            text += call.Text(0);
        call.ReturnText(text);
        return S_OK;
    }
    HRESULT Out(InvokeCall& call)
    {
        *call.Reference(0).plVal = 42;
        return S_OK;
    }
    HRESULT Sum(InvokeCall& call)
    {
        LONG sum = 0;
        for (VARIANT* value : call.Rest()) {
            ScopedVariant number;
            if (FAILED(VariantChangeType(number.Ptr(), value, 0, VT_I4)))
                return call.Fail(DISP_E_TYPEMISMATCH, u"not a number");
            sum += number->lVal;
        }
        call.ReturnInt(sum);
        return S_OK;
    }
    HRESULT GetName(InvokeCall& call)
    {
        call.ReturnText(m_name);
        return S_OK;
    }
    HRESULT PutName(InvokeCall& call)
    {
        m_name = call.Text(0);
        return S_OK;
    }
    HRESULT Boom(InvokeCall& call) { return call.Fail(MakeHresult(0x800A0005), u"bang"); }
    HRESULT Flag(InvokeCall& call)
    {
        if (call.Count() > 0)
            m_flag = call.Bool(0);
        else
            call.ReturnBool(m_flag);
        return S_OK;
    }

    std::u16string m_name = u"first";
    bool m_flag = false;
};

VARIANT Text(const char16_t* text)
{
    VARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

VARIANT Int(LONG value)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Missing()
{
    VARIANT v{};
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

// One call: arguments in the caller's order, reversed for Invoke.
struct Call {
    HRESULT hr = S_OK;
    ScopedVariant result;
    UINT argumentError = 99;
    EXCEPINFO exception{};

    Call(IDispatch* object, DISPID member, WORD flags, std::vector<VARIANT> arguments, bool namedPut = false)
    {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), namedPut ? &put : nullptr, static_cast<UINT>(reversed.size()),
                          namedPut ? 1u : 0u};
        hr = object->Invoke(member, IID_NULL, 0x0804, flags, &params, result.Ptr(), &exception, &argumentError);
        for (VARIANT& v : reversed)
            VariantClear(&v);
    }
    ~Call()
    {
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
    }
    std::u16string Text() const { return std::u16string(BstrView(result->bstrVal)); }
};

class DispatchObjectTest : public ::testing::Test {
protected:
    Ref<Recorder> m_recorder = MakeObject<Recorder>();
    IDispatch* Object() { return m_recorder.Get(); }
};

TEST_F(DispatchObjectTest, CallsWithTheDeclaredArgumentsConverted)
{
    Call twice(Object(), 1, DISPATCH_METHOD, {Text(u"ab"), Text(u"2")});
    ASSERT_EQ(twice.hr, S_OK);
    EXPECT_EQ(twice.Text(), u"abab");
    Call once(Object(), 1, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Text(u"ab")});
    ASSERT_EQ(once.hr, S_OK) << "a left-out optional argument";
    EXPECT_EQ(once.Text(), u"ab");
    Call missing(Object(), 1, DISPATCH_METHOD, {Text(u"ab"), Missing()});
    EXPECT_EQ(missing.hr, S_OK) << "an optional argument passed as missing";
}

TEST_F(DispatchObjectTest, RefusesArgumentsThatDoNotFit)
{
    struct Row {
        const char* label;
        std::vector<VARIANT> arguments;
        HRESULT hr;
        UINT argumentError;
    };
    std::vector<Row> rows;
    rows.push_back({"TooMany", {Text(u"a"), Int(1), Int(2)}, DISP_E_BADPARAMCOUNT, 99});
    rows.push_back({"TooFew", {}, DISP_E_BADPARAMCOUNT, 99});
    rows.push_back({"RequiredMissing", {Missing(), Int(1)}, DISP_E_PARAMNOTOPTIONAL, 1});
    rows.push_back({"NotANumber", {Text(u"a"), Text(u"x")}, DISP_E_TYPEMISMATCH, 0});
    rows.push_back({"TooBig", {Text(u"a"), Text(u"1e20")}, DISP_E_OVERFLOW, 0});
    for (Row& row : rows) {
        Call call(Object(), 1, DISPATCH_METHOD, row.arguments);
        EXPECT_EQ(call.hr, row.hr) << row.label;
        EXPECT_EQ(call.argumentError, row.argumentError) << row.label;
    }
}

TEST_F(DispatchObjectTest, FindsMembersByIdAndKind)
{
    EXPECT_EQ(Call(Object(), 77, DISPATCH_METHOD, {}).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(Object(), 5, DISPATCH_PROPERTYGET, {}).hr, DISP_E_MEMBERNOTFOUND) << "Boom is a method";
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ScopedVariant result;
    IID other = kIidRecorder;
    EXPECT_EQ(Object()->Invoke(4, other, 0, DISPATCH_PROPERTYGET, &none, result.Ptr(), nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    OLECHAR name[] = u"NAME";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(Object()->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 4);
    Ref<IDispatch> same = Ref<IDispatch>::Adopt(nullptr);
    EXPECT_EQ(Object()->QueryInterface(kIidRecorder, same.PutVoid()), S_OK) << "the table's own interface";
}

TEST_F(DispatchObjectTest, PutsTakeTheirValueAsTheNamedArgument)
{
    EXPECT_EQ(Call(Object(), 4, DISPATCH_PROPERTYPUT, {Text(u"x")}).hr, DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Call(Object(), 1, DISPATCH_METHOD, {Text(u"x")}, true).hr, DISP_E_NONAMEDARGS);
    ASSERT_EQ(Call(Object(), 4, DISPATCH_PROPERTYPUT, {Text(u"second")}, true).hr, S_OK);
    EXPECT_EQ(Call(Object(), 4, DISPATCH_PROPERTYGET, {}).Text(), u"second");

    ASSERT_EQ(Call(Object(), 6, DISPATCH_PROPERTYPUT, {Int(1)}, true).hr, S_OK) << "a variable is written";
    Call flag(Object(), 6, DISPATCH_PROPERTYGET, {});
    ASSERT_EQ(flag.hr, S_OK);
    EXPECT_EQ(flag.result->vt, VT_BOOL);
    EXPECT_EQ(flag.result->boolVal, VARIANT_TRUE);
}

TEST_F(DispatchObjectTest, ByReferenceParametersTakeExactlyTheirTypeAndAreWritten)
{
    LONG value = 0;
    VARIANT reference{};
    reference.vt = VT_BYREF | VT_I4;
    reference.plVal = &value;
    ASSERT_EQ(Call(Object(), 2, DISPATCH_METHOD, {reference}).hr, S_OK);
    EXPECT_EQ(value, 42);
    Call byValue(Object(), 2, DISPATCH_METHOD, {Int(1)});
    EXPECT_EQ(byValue.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(byValue.argumentError, 0u);
}

TEST_F(DispatchObjectTest, VariableArgumentListsAndFailures)
{
    Call sum(Object(), 3, DISPATCH_METHOD, {Int(1), Text(u"2"), Int(3)});
    ASSERT_EQ(sum.hr, S_OK);
    EXPECT_EQ(sum.result->lVal, 6);
    Call none(Object(), 3, DISPATCH_METHOD, {});
    EXPECT_EQ(none.result->lVal, 0);

    Call boom(Object(), 5, DISPATCH_METHOD, {});
    EXPECT_EQ(boom.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(boom.exception.scode, MakeHresult(0x800A0005));
    EXPECT_EQ(BstrView(boom.exception.bstrDescription), u"bang");
    EXPECT_EQ(BstrView(boom.exception.bstrSource), u"IRecorder");
}

}  // namespace
