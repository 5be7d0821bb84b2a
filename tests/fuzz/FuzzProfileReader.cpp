// Settings-file reader: finding a value in arbitrary bytes must never crash,
// and edits must keep their promises on any file:
// - a value that was set reads back, and another key keeps its value;
// - a removed key or section reads as missing.
//
// Input: one byte giving the section name's length, one the key's, then the
// two names, then the file. The raw names are looked up as they are; the
// edits use the names mapped onto letters, digits and whole two-byte
// characters, which a file can always hold.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel/private/ProfileDocument.h"

namespace {

using namespace vellumry::kernel;

std::string WritableName(std::string_view raw, char fallback)
{
    static constexpr char kPlain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    std::string name;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        auto byte = static_cast<unsigned char>(raw[i]);
        if (byte < 0x80 || i + 1 == raw.size()) {
            name += kPlain[byte % (sizeof kPlain - 1)];
            continue;
        }
        auto trail = static_cast<unsigned char>(raw[++i]);
        name += static_cast<char>(0x81 + byte % 0x7E);
        unsigned char mapped = static_cast<unsigned char>(0x40 + trail % 0xBE);
        name += static_cast<char>(mapped == 0x7F ? 0x80 : mapped);
    }
    return name.empty() ? std::string(1, fallback) : name;
}

// Equal without ASCII letter case, two-byte characters exactly: the rule the
// profile functions match names by.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        if (x >= 0x80) {
            if (a.substr(i, 2) != b.substr(i, 2))
                return false;
            ++i;
        } else if (std::tolower(x) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t sectionLength = std::min<std::size_t>(data[0], size - 2);
    std::size_t keyLength = std::min<std::size_t>(data[1], size - 2 - sectionLength);
    std::string_view rawSection = input.substr(2, sectionLength);
    std::string_view rawKey = input.substr(2 + sectionLength, keyLength);
    std::string_view file = input.substr(2 + sectionLength + keyLength);

    FindProfileValue(file, rawSection, rawKey);

    std::string section = WritableName(rawSection, 's');
    std::string key = WritableName(rawKey, 'k');
    std::string other = key + "2";
    std::optional<std::string_view> otherBefore = FindProfileValue(file, section, other);

    std::optional<std::string> set = EditProfile(file, {ProfileEditKind::SetValue, section, key, "v1"});
    Require(set.has_value());
    Require(FindProfileValue(*set, section, key) == std::optional<std::string_view>("v1"));
    if (!SameName(other, key))
        Require(FindProfileValue(*set, section, other) == otherBefore);

    std::optional<std::string> removedKey = EditProfile(*set, {ProfileEditKind::RemoveKey, section, key, {}});
    Require(removedKey.has_value());
    Require(!FindProfileValue(*removedKey, section, key).has_value());

    std::optional<std::string> removedSection = EditProfile(*set, {ProfileEditKind::RemoveSection, section, {}, {}});
    Require(removedSection.has_value());
    Require(!FindProfileValue(*removedSection, section, key).has_value());
    return 0;
}
