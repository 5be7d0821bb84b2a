#pragma once

// The text of an initialization (INI) file, read and edited the way the
// Windows profile functions do it. Pure byte work, no file access, so the
// fuzzer and the tests can drive it directly.
//
// - Lines end at CR LF, LF or a lone CR; the last line needs no line end.
// - A line whose first non-blank byte is "[" starts a section; its name runs
//   to the first "]" (to the line's end when there is none). A line whose
//   first non-blank byte is ";" is a comment. Another line holding "=" is a
//   key line: the key before the first "=", the value after it. Any other
//   line is kept as it is and means nothing.
// - Blanks (space and tab) around names and values do not count. A value
//   enclosed in a matching pair of double or single quotes loses them.
// - Section and key names match without ASCII letter case. Texts are GBK:
//   the walks step over two-byte characters whole, so a trail byte with the
//   code of "]", "=" or a letter is never taken for one.
// - Lines before the first section belong to no section. When a name occurs
//   twice, reading and setting use the first occurrence; removing removes
//   every occurrence, so that nothing of the removed item can be read back.
// - An edit rewrites every line with CR LF and keeps the bytes of all lines it
//   does not touch, comments and unknown lines included.

#include <optional>
#include <string>
#include <string_view>

namespace vellumry::kernel {

// The value of `key` in `section`, blanks and enclosing quotes removed; no
// value when the section or the key is missing. Names are matched after
// trimming their blanks. The view points into `file`.
std::optional<std::string_view> FindProfileValue(std::string_view file, std::string_view section,
                                                 std::string_view key);

enum class ProfileEditKind { SetValue, RemoveKey, RemoveSection };

struct ProfileEdit {
    ProfileEditKind kind = ProfileEditKind::SetValue;
    std::string_view section;
    std::string_view key;    // unused by RemoveSection
    std::string_view value;  // used by SetValue only
};

// The file after the edit, or no value when the edit changes nothing (a
// removal of something that is not there). SetValue replaces the first key
// line of the first matching section, or adds "key=value" after the last
// non-blank line of that section, or adds the section with the key at the end
// of the file.
std::optional<std::string> EditProfile(std::string_view file, const ProfileEdit& edit);

}  // namespace vellumry::kernel
