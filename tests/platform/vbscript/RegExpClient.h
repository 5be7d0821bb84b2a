#pragma once

// Drives a "VBScript.RegExp" object through IDispatch, by member names, the
// way any automation client does.

#include <string>
#include <vector>

#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/VariantApi.h"

namespace vellumry::test {

struct RegExpOptions {
    bool ignoreCase = false;
    bool multiline = false;
    bool global = false;
};

class RegExpClient {
public:
    // Creates the object through the class registry (the calling thread is
    // initialised for it).
    RegExpClient();
    ~RegExpClient();

    IDispatch* Object() const { return m_object.Get(); }

    // Invokes `name` with `arguments` in the caller's order; the result and
    // the exception's code on the side.
    HRESULT Invoke(IDispatch* object, const char16_t* name, WORD flags, std::vector<VARIANT> arguments,
                   VARIANT* result, SCODE* exceptionCode = nullptr);
    HRESULT Put(const char16_t* name, VARIANT value);
    void Configure(const std::u16string& pattern, RegExpOptions options);

    // The matches of Execute as "FirstIndex,Length,Value[sub|sub]" joined by
    // ";" (an unset group shown as "~"), or "error XXXXXXXX" with the
    // exception's code.
    std::string Execute(const std::u16string& subject);
    std::string Replace(const std::u16string& subject, const std::u16string& replacement);

private:
    com::Ref<IDispatch> m_object;
};

VARIANT TextVariant(const std::u16string& text);
VARIANT BoolVariant(bool value);
std::string Narrow(std::u16string_view text);

}  // namespace vellumry::test
