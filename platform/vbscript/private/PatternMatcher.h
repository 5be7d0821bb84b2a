#pragma once

// A compiled regular expression of the "VBScript.RegExp" component, on PCRE2
// (16-bit code units, the just-in-time compiler where the machine has it).
//
// The subject is UTF-16 as a BSTR holds it; offsets and lengths count UTF-16
// code units, as FirstIndex and Length do. A subject that is not valid UTF-16
// (a lone surrogate) is matched all the same: such a unit matches nothing.
// "." matches anything but "\n"; without multiline "$" matches only at the
// very end and "^" only at the start; with multiline they match at "\n" too.
//
// Every match runs under limits (steps, backtracking depth, heap, JIT stack)
// so that a hostile subject makes the match fail quickly instead of running
// for hours: MatchOutcome::Failed, which the component reports as an error.
//
// Not thread-safe: an object of the component uses its pattern on one thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumry::vbscript {

struct PatternOptions {
    bool ignoreCase = false;
    bool multiline = false;
};

// The span of a match or group; `unset` for a group that took no part.
struct Span {
    static constexpr std::uint32_t kUnset = UINT32_MAX;
    std::uint32_t start = kUnset;
    std::uint32_t length = 0;
    bool IsSet() const { return start != kUnset; }
};

enum class MatchOutcome { Found, NotFound, Failed };

// The number of steps one search may take before it fails. A search over a
// large page takes about one step per character it passes.
inline constexpr std::uint32_t kMatchStepLimit = 10'000'000;

class CompiledPattern {
public:
    // No value, with `error` set, when the pattern is not valid.
    static std::unique_ptr<CompiledPattern> Compile(std::u16string_view pattern, PatternOptions options,
                                                    std::string* error);
    ~CompiledPattern();

    // Capturing groups of the pattern.
    std::uint32_t GroupCount() const { return m_groups; }

    // Searches from `start`. On Found, `spans` holds the whole match followed
    // by one span per group.
    MatchOutcome Search(std::u16string_view subject, std::size_t start, std::vector<Span>& spans);

    // Where a global search continues after `match`: at its end, or one
    // character further for an empty match, so that the search moves on.
    static std::size_t NextStart(std::u16string_view subject, const Span& match);

private:
    struct Handles;
    explicit CompiledPattern(std::unique_ptr<Handles> handles, std::uint32_t groups);

    std::unique_ptr<Handles> m_handles;
    std::uint32_t m_groups;
};

}  // namespace vellumry::vbscript
