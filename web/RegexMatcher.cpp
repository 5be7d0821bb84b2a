#include "web/RegexMatcher.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <span>

#include "platform/kernel/ThreadStop.h"
#include "runtime/CoreCommandSlots.h"
#include "web/ComInit.h"
#include "web/RegexTexts.h"

namespace vellumry::web {
namespace {

using automation::ObjectHolder;
using runtime::OwnedText;
using runtime::TypedValue;
namespace calls = automation::calls;

constexpr const char* kProgramId = "VBScript.RegExp";

TypedValue CallCore(runtime::CoreCommand slot, std::initializer_list<TypedValue> arguments)
{
    return runtime::CallCoreSlot(slot, std::span(arguments.begin(), arguments.size()));
}

TypedValue Flag(bool value)
{
    return TypedValue::OfBool(value);
}

// A number of the component truncated toward zero to a 32-bit integer.
std::int32_t Truncated(double value)
{
    if (!(value > std::numeric_limits<std::int32_t>::min() - 1.0 && value < std::numeric_limits<std::int32_t>::max() + 1.0))
        return 0;
    return static_cast<std::int32_t>(std::trunc(value));
}

// A 1-based index as the component's 0-based one, as a double.
TypedValue ComponentIndex(std::int32_t index)
{
    return TypedValue::OfDouble(static_cast<double>(index) - 1.0);
}

OwnedText TextOf(const calls::OwnedVariant& variant)
{
    return calls::VariantToText(variant.get());
}

// The 1-based byte position at which the search for a match's text starts:
// the component's character offset taken as a byte position, moved back to
// the start of the character that holds it. A search that started on the
// second byte of a two-byte character would step through the text out of
// step with its characters and could pass over the match.
std::int32_t SearchStart(std::string_view subject, std::int32_t characterOffset)
{
    if (characterOffset < 1)
        return characterOffset;
    std::size_t target = static_cast<std::size_t>(characterOffset) - 1;
    std::size_t at = 0;
    while (at < subject.size()) {
        std::size_t next = at + (static_cast<unsigned char>(subject[at]) >= 0x80 && at + 1 < subject.size() ? 2 : 1);
        if (next > target)
            break;
        at = next;
    }
    return at >= subject.size() ? characterOffset : static_cast<std::int32_t>(at) + 1;
}

}  // namespace

RegexMatcher::RegexMatcher()
    : m_regex(calls::NewObject()), m_matches(calls::NewObject()), m_subject(calls::NewVariant())
{
    ComInit();
}

RegexMatcher::RegexMatcher(const RegexMatcher& other)
    : m_regex(calls::NewObject()), m_matches(calls::NewObject()), m_subject(calls::NewVariant())
{
    ComInit();
    calls::CopyObject(m_regex.get(), other.m_regex.get());
    calls::CopyObject(m_matches.get(), other.m_matches.get());
    calls::CopyVariant(m_subject.get(), other.m_subject.get());
}

RegexMatcher::~RegexMatcher()
{
    kernel::StopPointsDeferred deferred;  // a destructor must not throw a stop
    calls::ClearObject(m_regex.get());
    calls::ClearObject(m_matches.get());
    calls::ClearVariant(m_subject.get());
    ComUninit();
}

bool RegexMatcher::Create(const char* pattern, const char* subject, std::optional<bool> caseSensitive,
                          std::optional<bool> multiline, std::optional<bool> global, std::optional<bool> quoteMarkers)
{
    ObjectHolder* regex = m_regex.get();
    calls::ClearObject(regex);
    calls::ClearObject(m_matches.get());
    calls::CreateObject(regex, kProgramId);
    // Each write's outcome is left alone: a component without the property
    // ("Singleline") changes nothing else.
    calls::WriteProperty(regex, "IgnoreCase", {Flag(!caseSensitive.value_or(false))});
    calls::WriteProperty(regex, "Multiline", {Flag(multiline.value_or(true))});
    calls::WriteProperty(regex, "Singleline", {Flag(true)});
    calls::WriteProperty(regex, "Global", {Flag(global.value_or(true))});
    OwnedText quoted;
    if (quoteMarkers.value_or(false)) {
        quoted = OwnedText(CallCore(runtime::CoreCommand::ReplaceSubText,
                                    {calls::Text(pattern), calls::Text(texts::kQuoteMarker), calls::Text("\""),
                                     TypedValue(), TypedValue(), Flag(true)})
                               .Pointer<char>());
        pattern = quoted ? quoted.get() : "";
    }
    calls::WriteProperty(regex, "Pattern", {calls::Text(pattern)});
    calls::AssignVariant(m_subject.get(), calls::Text(subject));
    m_matches = calls::CallObjectMethod(regex, "Execute", {calls::VariantArgument(m_subject.get())});
    return !calls::IsEmptyObject(m_matches.get());
}

OwnedText RegexMatcher::GetPattern()
{
    return calls::ReadTextProperty(m_regex.get(), "Pattern");
}

OwnedText RegexMatcher::Replace(const char* replacement)
{
    calls::OwnedVariant with = calls::NewVariant();
    calls::AssignVariant(with.get(), calls::Text(replacement ? replacement : ""));
    VARIANT* withVariable = with.get();
    return calls::CallTextMethod(m_regex.get(), "Replace",
                                 {calls::VariantArgument(m_subject.get()),
                                  calls::ByReference(runtime::kVariantType, &withVariable)});
}

std::int32_t RegexMatcher::GetMatchCount()
{
    return Truncated(calls::ReadNumberProperty(m_matches.get(), "Count"));
}

OwnedText RegexMatcher::GetMatchText(std::int32_t index, std::int32_t* position)
{
    calls::OwnedObject match = calls::ReadObjectProperty(m_matches.get(), "Item", {ComponentIndex(index)});
    OwnedText text = TextOf(calls::ReadProperty(match.get(), "Value"));
    if (position)
        *position = PositionOf(match.get(), text.get());
    return text;
}

OwnedText RegexMatcher::GetSubMatchText(std::int32_t matchIndex, std::int32_t subIndex, std::int32_t* position)
{
    calls::OwnedObject match = calls::ReadObjectProperty(m_matches.get(), "Item", {ComponentIndex(matchIndex)});
    calls::OwnedObject subMatches = calls::ReadObjectProperty(match.get(), "SubMatches");
    OwnedText text = TextOf(calls::ReadProperty(subMatches.get(), "Item", {ComponentIndex(subIndex)}));
    if (position)
        *position = PositionOf(match.get(), text.get());
    return text;
}

std::int32_t RegexMatcher::GetSubMatchCount()
{
    calls::OwnedObject match = calls::ReadObjectProperty(m_matches.get(), "Item", {TypedValue::OfInt(0)});
    calls::OwnedObject subMatches = calls::ReadObjectProperty(match.get(), "SubMatches");
    return Truncated(calls::ReadNumberProperty(subMatches.get(), "Count"));
}

std::int32_t RegexMatcher::PositionOf(ObjectHolder* match, const char* found)
{
    OwnedText subject = calls::VariantToText(m_subject.get());
    std::string_view subjectText = subject ? std::string_view(subject.get()) : std::string_view();
    std::int32_t start = SearchStart(subjectText, Truncated(calls::ReadNumberProperty(match, "FirstIndex")));
    OwnedText ignoreCase = TextOf(calls::ReadProperty(m_regex.get(), "IgnoreCase"));
    // The text reads "0" when case is not ignored; the search then ignores
    // case, and is exact otherwise.
    bool searchIgnoringCase = ignoreCase && std::string_view(ignoreCase.get()) == "0";
    std::int32_t at = CallCore(runtime::CoreCommand::FindText,
                               {calls::Text(subject ? subject.get() : ""), calls::Text(found ? found : ""),
                                TypedValue::OfInt(start), Flag(searchIgnoringCase)})
                          .Int();
    return at - 1;
}

}  // namespace vellumry::web
