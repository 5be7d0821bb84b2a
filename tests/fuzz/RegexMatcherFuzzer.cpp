// The regular-expression object over any pattern and any page: compiling,
// matching, reading every match and group with its byte position, and
// replacing must never crash, hang or leak, whatever the bytes (broken GBK
// included), and every position handed back lies in the subject or is -2.
//
// Input: one byte of options (bit 0 case-sensitive, 1 multiline, 2 global,
// 3 quote markers), then the pattern up to the first zero byte, then the
// subject.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/AutomationSetup.h"
#include "web/RegexMatcher.h"

namespace {

// Reading every match of a pattern like "" over a long subject is the
// subject's length in calls; a few dozen show the same.
constexpr std::int32_t kMatchesRead = 40;
constexpr std::int32_t kGroupsRead = 6;

void CheckPosition(std::int32_t position, std::size_t subjectSize)
{
    if (position < -2 || position == -1 || (position >= 0 && static_cast<std::size_t>(position) > subjectSize))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (vellumry::test::InstallAutomationForTests(), true);
    (void)ready;
    if (size < 1)
        return 0;
    std::uint8_t options = data[0];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    std::size_t restSize = size - 1;
    const char* zero = static_cast<const char*>(std::memchr(rest, 0, restSize));
    std::size_t patternSize = zero ? static_cast<std::size_t>(zero - rest) : restSize;
    std::string pattern(rest, patternSize);
    std::string subject = zero ? std::string(zero + 1, restSize - patternSize - 1) : std::string();
    // Texts end at their first zero byte, as the program's texts do.
    subject.resize(std::strlen(subject.c_str()));

    vellumry::web::RegexMatcher matcher;
    matcher.Create(pattern.c_str(), subject.c_str(), (options & 1) != 0, (options & 2) != 0, (options & 4) != 0,
                   (options & 8) != 0);
    std::int32_t count = matcher.GetMatchCount();
    if (count < 0)
        std::abort();
    std::int32_t groups = matcher.GetSubMatchCount();
    for (std::int32_t i = 1; i <= std::min(count, kMatchesRead) + 1; ++i) {
        std::int32_t position = 0;
        matcher.GetMatchText(i, &position);
        CheckPosition(position, subject.size());
        for (std::int32_t g = 1; g <= std::min(groups, kGroupsRead); ++g) {
            matcher.GetSubMatchText(i, g, &position);
            CheckPosition(position, subject.size());
        }
    }
    matcher.GetPattern();
    matcher.Replace("[$1$&]");
    vellumry::web::RegexMatcher copy(matcher);
    copy.GetMatchText(1);
    return 0;
}
