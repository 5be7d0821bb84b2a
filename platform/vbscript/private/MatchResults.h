#pragma once

// The objects through which the "VBScript.RegExp" component hands out what
// Execute found: the match collection ("Count", "Item" counted from 0), each
// match ("Value", "FirstIndex" as a 0-based UTF-16 offset, "Length",
// "SubMatches") and its sub-match collection ("Count", "Item": the group's
// text, or an empty value for a group that took no part). An index outside
// the collection is refused (error 5, invalid procedure call). Each object
// shares the one record of the search, so a match outlives its collection.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/DispatchObject.h"
#include "platform/vbscript/private/PatternMatcher.h"

namespace vellumry::vbscript {

// What one Execute found: the subject searched and, per match, the whole
// match followed by its groups.
struct MatchSet {
    std::u16string subject;
    std::uint32_t groups = 0;
    std::vector<Span> spans;

    std::size_t Count() const { return spans.size() / (groups + 1); }
    const Span* MatchAt(std::size_t index) const { return &spans[index * (groups + 1)]; }
};

class MatchCollection final : public com::DispatchObject<MatchCollection> {
public:
    explicit MatchCollection(std::shared_ptr<const MatchSet> matches) : m_matches(std::move(matches)) {}
    static const com::DispatchTable<MatchCollection>& Table();

private:
    HRESULT Item(com::InvokeCall& call);
    HRESULT Count(com::InvokeCall& call);

    std::shared_ptr<const MatchSet> m_matches;
};

class Match final : public com::DispatchObject<Match> {
public:
    Match(std::shared_ptr<const MatchSet> matches, std::size_t index) : m_matches(std::move(matches)), m_index(index) {}
    static const com::DispatchTable<Match>& Table();

private:
    HRESULT Value(com::InvokeCall& call);
    HRESULT FirstIndex(com::InvokeCall& call);
    HRESULT Length(com::InvokeCall& call);
    HRESULT SubMatches(com::InvokeCall& call);

    std::shared_ptr<const MatchSet> m_matches;
    std::size_t m_index;
};

class SubMatchCollection final : public com::DispatchObject<SubMatchCollection> {
public:
    SubMatchCollection(std::shared_ptr<const MatchSet> matches, std::size_t index)
        : m_matches(std::move(matches)), m_index(index)
    {
    }
    static const com::DispatchTable<SubMatchCollection>& Table();

private:
    HRESULT Item(com::InvokeCall& call);
    HRESULT Count(com::InvokeCall& call);

    std::shared_ptr<const MatchSet> m_matches;
    std::size_t m_index;
};

}  // namespace vellumry::vbscript
