#include "platform/vbscript/private/Replacement.h"

namespace vellumry::vbscript {
namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

void AppendSpan(std::u16string& out, std::u16string_view subject, const Span& span)
{
    if (span.IsSet())
        out.append(subject.substr(span.start, span.length));
}

}  // namespace

void AppendReplacement(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
                       const std::vector<Span>& spans)
{
    const Span& match = spans[0];
    std::size_t groups = spans.size() - 1;
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        char16_t c = replacement[i];
        if (c != u'$' || i + 1 >= replacement.size()) {
            out += c;
            continue;
        }
        char16_t next = replacement[i + 1];
        if (next == u'$') {
            out += u'$';
            ++i;
        } else if (next == u'&') {
            AppendSpan(out, subject, match);
            ++i;
        } else if (next == u'`') {
            out.append(subject.substr(0, match.start));
            ++i;
        } else if (next == u'\'') {
            out.append(subject.substr(match.start + match.length));
            ++i;
        } else if (IsDigit(next)) {
            std::size_t one = static_cast<std::size_t>(next - u'0');
            std::size_t two = i + 2 < replacement.size() && IsDigit(replacement[i + 2])
                                  ? one * 10 + static_cast<std::size_t>(replacement[i + 2] - u'0')
                                  : 0;
            if (two >= 1 && two <= groups) {
                AppendSpan(out, subject, spans[two]);
                i += 2;
            } else if (one >= 1 && one <= groups) {
                AppendSpan(out, subject, spans[one]);
                i += 1;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
}

}  // namespace vellumry::vbscript
