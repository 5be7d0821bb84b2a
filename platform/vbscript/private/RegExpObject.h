#pragma once

// The "VBScript.RegExp" object: the properties "Pattern" (text, "" at first),
// "IgnoreCase", "Global" and "Multiline" (false at first), and the methods
// "Execute" (a match collection; all matches with Global, else at most the
// first), "Test" (whether there is a match) and "Replace" (the subject with
// the first or, with Global, every match replaced; see Replacement.h). A
// global search goes on at the end of each match, one character further after
// an empty one.
//
// The pattern is compiled when a method first needs it after a change. A
// pattern that does not compile makes each method fail with error 5017
// (syntax error in regular expression); a search that exceeds the matching
// limits fails with error 28, so no partial result is ever handed out.

#include <memory>
#include <string>

#include "platform/com/DispatchObject.h"
#include "platform/vbscript/private/MatchResults.h"
#include "platform/vbscript/private/PatternMatcher.h"

namespace vellumry::vbscript {

class RegExpObject final : public com::DispatchObject<RegExpObject> {
public:
    static const com::DispatchTable<RegExpObject>& Table();

private:
    HRESULT GetPattern(com::InvokeCall& call);
    HRESULT PutPattern(com::InvokeCall& call);
    template <bool RegExpObject::*Flag>
    HRESULT GetFlag(com::InvokeCall& call);
    // Sets a flag; the pattern compiles again when next needed.
    template <bool RegExpObject::*Flag>
    HRESULT PutFlag(com::InvokeCall& call);
    HRESULT Execute(com::InvokeCall& call);
    HRESULT Test(com::InvokeCall& call);
    HRESULT Replace(com::InvokeCall& call);

    // Every match (or only the first) in matches.subject, compiling the
    // pattern first when needed; a failure is described on the call.
    HRESULT FindMatches(com::InvokeCall& call, MatchSet& matches, bool all);

    std::u16string m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiline = false;
    std::unique_ptr<CompiledPattern> m_compiled;
};

}  // namespace vellumry::vbscript
