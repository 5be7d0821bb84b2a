#pragma once

// RegexMatcher: the application's pattern matching, on the Windows scripting
// component's regular-expression object ("VBScript.RegExp") through the
// automation commands. It keeps the subject given to Create, so every later
// query works on that text.
//
// Indexes given to it are 1-based (the component counts from 0). Positions it
// hands back are 0-based byte offsets into the subject as the program stores
// it (GBK), found by searching the subject for the returned text from the
// component's character offset on. No operation reports an error: a failed
// automation call gives the empty value (0, the empty text) and the object
// carries on.
//
// Construction initialises the component model for the calling thread
// (ComInit) and destruction undoes it (ComUninit), so an object must be
// destroyed on the thread that made it. A copy shares the component's objects
// (their reference counts raised), copies the subject and brackets its own
// lifetime with ComInit / ComUninit like any other object.

#include <cstdint>
#include <optional>

#include "automation/AutomationCalls.h"
#include "runtime/HeapOwner.h"

namespace vellumry::web {

class RegexMatcher {
public:
    RegexMatcher();
    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher&) = delete;
    ~RegexMatcher();

    // Compiles `pattern` and finds its matches in `subject`; true when the
    // match collection was obtained (also when nothing matched). Left out:
    // caseSensitive false, multiline true, global true, quoteMarkers false.
    // With quote markers every "#引号" in the pattern stands for one '"'.
    bool Create(const char* pattern, const char* subject, std::optional<bool> caseSensitive = {},
                std::optional<bool> multiline = {}, std::optional<bool> global = {},
                std::optional<bool> quoteMarkers = {});
    runtime::OwnedText GetPattern();
    // The subject with the matches replaced (replacement null: left out, the
    // empty text).
    runtime::OwnedText Replace(const char* replacement = nullptr);
    std::int32_t GetMatchCount();
    // The text of match `index`; with `position`, its byte offset (-2 when
    // the search does not find it).
    runtime::OwnedText GetMatchText(std::int32_t index, std::int32_t* position = nullptr);
    runtime::OwnedText GetSubMatchText(std::int32_t matchIndex, std::int32_t subIndex,
                                       std::int32_t* position = nullptr);
    // The number of groups, always of the first match.
    std::int32_t GetSubMatchCount();

private:
    // The byte offset of `found` in the subject, searched from the match's
    // character offset.
    std::int32_t PositionOf(automation::ObjectHolder* match, const char* found);

    automation::calls::OwnedObject m_regex;
    automation::calls::OwnedObject m_matches;
    automation::calls::OwnedVariant m_subject;
};

}  // namespace vellumry::web
