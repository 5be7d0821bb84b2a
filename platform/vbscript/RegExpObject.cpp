#include "platform/vbscript/private/RegExpObject.h"

#include <string>

#include "platform/com/VariantApi.h"
#include "platform/vbscript/private/Identifiers.h"
#include "platform/vbscript/private/Replacement.h"

namespace vellumry::vbscript {
namespace {

using com::InvokeCall;
using com::MemberKind;

constexpr DISPID kPatternId = 10001;
constexpr DISPID kIgnoreCaseId = 10002;
constexpr DISPID kGlobalId = 10003;
constexpr DISPID kExecuteId = 10004;
constexpr DISPID kTestId = 10005;
constexpr DISPID kMultilineId = 10006;
constexpr DISPID kReplaceId = 10007;

// The longest text Replace builds (128 MB of UTF-16), so that a replacement
// that repeats the subject for every match cannot exhaust memory.
constexpr std::size_t kMaxTextUnits = 64u << 20;
// The most match and group spans one search keeps (128 MB).
constexpr std::size_t kMaxSpans = 16u << 20;

}  // namespace

const com::DispatchTable<RegExpObject>& RegExpObject::Table()
{
    using R = RegExpObject;
    static const com::DispatchTable<RegExpObject> table(
        u"IRegExp2", kIidRegExp,
        {
            {{u"Pattern", kPatternId, MemberKind::PropertyGet, VT_BSTR}, &R::GetPattern},
            {{u"Pattern", kPatternId, MemberKind::PropertyPut, VT_EMPTY, {{u"pattern", VT_BSTR}}}, &R::PutPattern},
            {{u"IgnoreCase", kIgnoreCaseId, MemberKind::PropertyGet, VT_BOOL}, &R::GetFlag<&R::m_ignoreCase>},
            {{u"IgnoreCase", kIgnoreCaseId, MemberKind::PropertyPut, VT_EMPTY, {{u"ignoreCase", VT_BOOL}}},
             &R::PutFlag<&R::m_ignoreCase>},
            {{u"Global", kGlobalId, MemberKind::PropertyGet, VT_BOOL}, &R::GetFlag<&R::m_global>},
            {{u"Global", kGlobalId, MemberKind::PropertyPut, VT_EMPTY, {{u"global", VT_BOOL}}}, &R::PutFlag<&R::m_global>},
            {{u"Multiline", kMultilineId, MemberKind::PropertyGet, VT_BOOL}, &R::GetFlag<&R::m_multiline>},
            {{u"Multiline", kMultilineId, MemberKind::PropertyPut, VT_EMPTY, {{u"multiline", VT_BOOL}}},
             &R::PutFlag<&R::m_multiline>},
            {{u"Execute", kExecuteId, MemberKind::Method, VT_DISPATCH, {{u"sourceString", VT_BSTR}}}, &R::Execute},
            {{u"Test", kTestId, MemberKind::Method, VT_BOOL, {{u"sourceString", VT_BSTR}}}, &R::Test},
            {{u"Replace",
              kReplaceId,
              MemberKind::Method,
              VT_BSTR,
              {{u"sourceString", VT_BSTR}, {u"replaceVar", VT_VARIANT}}},
             &R::Replace},
        });
    return table;
}

HRESULT RegExpObject::GetPattern(InvokeCall& call)
{
    call.ReturnText(m_pattern);
    return S_OK;
}

HRESULT RegExpObject::PutPattern(InvokeCall& call)
{
    m_pattern.assign(call.Text(0));
    m_compiled.reset();
    return S_OK;
}

template <bool RegExpObject::*Flag>
HRESULT RegExpObject::GetFlag(InvokeCall& call)
{
    call.ReturnBool(this->*Flag);
    return S_OK;
}

template <bool RegExpObject::*Flag>
HRESULT RegExpObject::PutFlag(InvokeCall& call)
{
    this->*Flag = call.Bool(0);
    m_compiled.reset();
    return S_OK;
}

HRESULT RegExpObject::FindMatches(InvokeCall& call, MatchSet& matches, bool all)
{
    if (!m_compiled) {
        std::string error;
        m_compiled = CompiledPattern::Compile(m_pattern, {m_ignoreCase, m_multiline}, &error);
        if (!m_compiled) {
            std::u16string description = u"Syntax error in regular expression: ";
            description.append(error.begin(), error.end());
            return call.Fail(kSyntaxError, description);
        }
    }
    CompiledPattern* pattern = m_compiled.get();
    matches.groups = pattern->GroupCount();
    std::u16string_view subject = matches.subject;
    std::vector<Span> spans;
    std::size_t start = 0;
    while (start <= subject.size()) {
        MatchOutcome outcome = pattern->Search(subject, start, spans);
        if (outcome == MatchOutcome::NotFound)
            break;
        if (outcome == MatchOutcome::Failed)
            return call.Fail(kMatchLimitError, u"The pattern needs too many steps to match this text");
        if (matches.spans.size() + spans.size() > kMaxSpans)
            return call.Fail(kOutOfMemoryError, u"Out of memory");
        matches.spans.insert(matches.spans.end(), spans.begin(), spans.end());
        if (!all)
            break;
        start = CompiledPattern::NextStart(subject, spans[0]);
    }
    return S_OK;
}

HRESULT RegExpObject::Execute(InvokeCall& call)
{
    auto matches = std::make_shared<MatchSet>();
    matches->subject.assign(call.Text(0));
    if (HRESULT failed = FindMatches(call, *matches, m_global); FAILED(failed))
        return failed;
    call.ReturnObject(com::MakeObject<MatchCollection>(std::move(matches)));
    return S_OK;
}

HRESULT RegExpObject::Test(InvokeCall& call)
{
    MatchSet matches;
    matches.subject.assign(call.Text(0));
    if (HRESULT failed = FindMatches(call, matches, false); FAILED(failed))
        return failed;
    call.ReturnBool(matches.Count() > 0);
    return S_OK;
}

HRESULT RegExpObject::Replace(InvokeCall& call)
{
    com::ScopedVariant replacement;
    HRESULT hr = VariantChangeType(replacement.Ptr(), &call.Argument(1), 0, VT_BSTR);
    if (FAILED(hr))
        return call.Fail(hr, u"The replacement is not text");
    MatchSet matches;
    matches.subject.assign(call.Text(0));
    if (HRESULT failed = FindMatches(call, matches, m_global); FAILED(failed))
        return failed;
    std::u16string_view subject = matches.subject;
    std::u16string_view with = com::BstrView(replacement->bstrVal);
    std::u16string out;
    std::size_t copied = 0;
    std::vector<Span> spans(matches.groups + 1);
    for (std::size_t i = 0; i < matches.Count(); ++i) {
        const Span* match = matches.MatchAt(i);
        spans.assign(match, match + matches.groups + 1);
        out.append(subject.substr(copied, match->start - copied));
        AppendReplacement(out, with, subject, spans);
        copied = static_cast<std::size_t>(match->start) + match->length;
        if (out.size() > kMaxTextUnits)
            return call.Fail(kOutOfMemoryError, u"Out of memory");
    }
    out.append(subject.substr(copied));
    if (out.size() > kMaxTextUnits)
        return call.Fail(kOutOfMemoryError, u"Out of memory");
    call.ReturnText(out);
    return S_OK;
}

}  // namespace vellumry::vbscript
