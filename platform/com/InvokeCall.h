#pragma once

// One call of a member of a dispatch object of ours, as its handler sees it
// (DispatchObject.h). The arguments are in the declared order and already of
// the declared types: a by-value parameter holds the caller's value changed
// to its type (a VARIANT parameter holds the caller's variant as it came,
// possibly a reference), a by-reference parameter holds the caller's own
// reference of exactly the declared type, through which the handler writes
// its output. An optional parameter the caller left out is not given.
//
// The handler sets the result, if the member has one, and returns S_OK, or
// describes a failure with Fail, which the caller receives as
// DISP_E_EXCEPTION with the code and description in EXCEPINFO.

#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Bstr.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/VariantApi.h"

namespace vellumry::com {

class InvokeCall {
public:
    InvokeCall() = default;
    ~InvokeCall();
    InvokeCall(const InvokeCall&) = delete;
    InvokeCall& operator=(const InvokeCall&) = delete;

    std::size_t Count() const { return m_arguments.size(); }
    bool IsGiven(std::size_t i) const { return i < m_arguments.size() && m_arguments[i] != nullptr; }
    // The argument as the handler receives it; VT_EMPTY when not given.
    const VARIANT& Argument(std::size_t i) const;
    // Typed readers for parameters declared with that type.
    std::u16string_view Text(std::size_t i) const { return BstrView(Argument(i).bstrVal); }
    LONG Int(std::size_t i) const { return Argument(i).lVal; }
    bool Bool(std::size_t i) const { return Argument(i).boolVal != VARIANT_FALSE; }
    double Double(std::size_t i) const { return Argument(i).dblVal; }
    IDispatch* Object(std::size_t i) const { return Argument(i).pdispVal; }
    // The caller's variant behind a by-reference parameter.
    VARIANT& Reference(std::size_t i);
    // The arguments beyond the declared ones, for a variable argument list,
    // as the caller passed them (first argument first).
    std::span<VARIANT* const> Rest() const { return m_rest; }

    void ReturnText(std::u16string_view text);
    void ReturnInt(LONG value);
    void ReturnBool(bool value);
    void ReturnDouble(double value);
    void ReturnObject(Ref<IDispatch> object);
    // Takes over an owned value.
    void ReturnVariant(VARIANT value);
    HRESULT Fail(HRESULT code, std::u16string_view description);

    // For the dispatcher.
    void AddMissing() { m_arguments.push_back(nullptr); }
    void AddBorrowed(VARIANT* argument) { m_arguments.push_back(argument); }
    void AddOwned(VARIANT value);
    void AddRest(VARIANT* argument) { m_rest.push_back(argument); }
    VARIANT TakeResult();
    std::u16string_view FailureDescription() const { return m_failure; }

private:
    std::vector<VARIANT*> m_arguments;
    std::vector<VARIANT*> m_rest;
    std::deque<VARIANT> m_owned;  // adding keeps the earlier ones in place
    ScopedVariant m_result;
    std::u16string m_failure;
};

}  // namespace vellumry::com
