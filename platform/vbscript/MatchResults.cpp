#include "platform/vbscript/private/MatchResults.h"

#include "platform/vbscript/private/Identifiers.h"

namespace vellumry::vbscript {
namespace {

using com::InvokeCall;
using com::MemberKind;

constexpr DISPID kCountId = 1;
constexpr DISPID kFirstIndexId = 10001;
constexpr DISPID kLengthId = 10002;
constexpr DISPID kSubMatchesId = 10003;

HRESULT RefuseIndex(InvokeCall& call)
{
    return call.Fail(kInvalidCallError, u"Invalid procedure call or argument");
}

// A 0-based index argument within `count`, or false.
bool IndexWithin(const InvokeCall& call, std::size_t count, std::size_t* index)
{
    LONG value = call.Int(0);
    if (value < 0 || static_cast<std::size_t>(value) >= count)
        return false;
    *index = static_cast<std::size_t>(value);
    return true;
}

}  // namespace

const com::DispatchTable<MatchCollection>& MatchCollection::Table()
{
    static const com::DispatchTable<MatchCollection> table(
        u"IMatchCollection2", kIidMatchCollection,
        {
            {{u"Item", DISPID_VALUE, MemberKind::PropertyGet, VT_DISPATCH, {{u"index", VT_I4}}}, &MatchCollection::Item},
            {{u"Count", kCountId, MemberKind::PropertyGet, VT_I4}, &MatchCollection::Count},
        });
    return table;
}

HRESULT MatchCollection::Item(InvokeCall& call)
{
    std::size_t index = 0;
    if (!IndexWithin(call, m_matches->Count(), &index))
        return RefuseIndex(call);
    call.ReturnObject(com::MakeObject<Match>(m_matches, index));
    return S_OK;
}

HRESULT MatchCollection::Count(InvokeCall& call)
{
    call.ReturnInt(static_cast<LONG>(m_matches->Count()));
    return S_OK;
}

const com::DispatchTable<Match>& Match::Table()
{
    static const com::DispatchTable<Match> table(
        u"IMatch2", kIidMatch,
        {
            {{u"Value", DISPID_VALUE, MemberKind::PropertyGet, VT_BSTR}, &Match::Value},
            {{u"FirstIndex", kFirstIndexId, MemberKind::PropertyGet, VT_I4}, &Match::FirstIndex},
            {{u"Length", kLengthId, MemberKind::PropertyGet, VT_I4}, &Match::Length},
            {{u"SubMatches", kSubMatchesId, MemberKind::PropertyGet, VT_DISPATCH}, &Match::SubMatches},
        });
    return table;
}

HRESULT Match::Value(InvokeCall& call)
{
    const Span& span = m_matches->MatchAt(m_index)[0];
    call.ReturnText(std::u16string_view(m_matches->subject).substr(span.start, span.length));
    return S_OK;
}

HRESULT Match::FirstIndex(InvokeCall& call)
{
    call.ReturnInt(static_cast<LONG>(m_matches->MatchAt(m_index)[0].start));
    return S_OK;
}

HRESULT Match::Length(InvokeCall& call)
{
    call.ReturnInt(static_cast<LONG>(m_matches->MatchAt(m_index)[0].length));
    return S_OK;
}

HRESULT Match::SubMatches(InvokeCall& call)
{
    call.ReturnObject(com::MakeObject<SubMatchCollection>(m_matches, m_index));
    return S_OK;
}

const com::DispatchTable<SubMatchCollection>& SubMatchCollection::Table()
{
    static const com::DispatchTable<SubMatchCollection> table(
        u"ISubMatches", kIidSubMatches,
        {
            {{u"Item", DISPID_VALUE, MemberKind::PropertyGet, VT_VARIANT, {{u"index", VT_I4}}},
             &SubMatchCollection::Item},
            {{u"Count", kCountId, MemberKind::PropertyGet, VT_I4}, &SubMatchCollection::Count},
        });
    return table;
}

HRESULT SubMatchCollection::Item(InvokeCall& call)
{
    std::size_t index = 0;
    if (!IndexWithin(call, m_matches->groups, &index))
        return RefuseIndex(call);
    const Span& span = m_matches->MatchAt(m_index)[index + 1];
    if (span.IsSet())
        call.ReturnText(std::u16string_view(m_matches->subject).substr(span.start, span.length));
    return S_OK;  // a group that took no part gives the empty value
}

HRESULT SubMatchCollection::Count(InvokeCall& call)
{
    call.ReturnInt(static_cast<LONG>(m_matches->groups));
    return S_OK;
}

}  // namespace vellumry::vbscript
