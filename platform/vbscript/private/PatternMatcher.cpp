#include "platform/vbscript/private/PatternMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "platform/vbscript/private/JScriptPattern.h"

namespace vellumry::vbscript {
namespace {

// Depth of backtracking and heap (in KiB) the interpreter may use, and the
// largest stack the JIT code may grow.
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 1024 * 1024;

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct CompileContextDeleter {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};

PCRE2_SPTR Units(std::u16string_view text)
{
    return reinterpret_cast<PCRE2_SPTR>(text.data());
}

}  // namespace

struct CompiledPattern::Handles {
    std::unique_ptr<pcre2_code, CodeDeleter> code;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data;
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context;
    std::unique_ptr<pcre2_jit_stack, JitStackDeleter> jitStack;
};

CompiledPattern::CompiledPattern(std::unique_ptr<Handles> handles, std::uint32_t groups)
    : m_handles(std::move(handles)), m_groups(groups)
{
}

CompiledPattern::~CompiledPattern() = default;

std::unique_ptr<CompiledPattern> CompiledPattern::Compile(std::u16string_view pattern, PatternOptions options,
                                                          std::string* error)
{
    std::optional<std::u16string> translated = TranslateJScriptPattern(pattern, error);
    if (!translated)
        return nullptr;

    std::unique_ptr<pcre2_compile_context, CompileContextDeleter> compileContext(pcre2_compile_context_create(nullptr));
    if (!compileContext) {
        *error = "out of memory";
        return nullptr;
    }
    pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_LF);
    std::uint32_t flags = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALLOW_EMPTY_CLASS |
                          PCRE2_MATCH_UNSET_BACKREF;
    if (options.ignoreCase)
        flags |= PCRE2_CASELESS;
    flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;

    auto handles = std::make_unique<Handles>();
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    handles->code.reset(pcre2_compile(Units(*translated), translated->size(), flags, &errorCode, &errorOffset,
                                      compileContext.get()));
    if (!handles->code) {
        PCRE2_UCHAR message[256];
        int length = pcre2_get_error_message(errorCode, message, sizeof message / sizeof message[0]);
        error->clear();
        for (int i = 0; i < length; ++i)
            *error += static_cast<char>(message[i] < 0x80 ? message[i] : '?');
        return nullptr;
    }
    // Without the JIT compiler (or when it fails) the interpreter matches,
    // under the same limits.
    if (pcre2_jit_compile(handles->code.get(), PCRE2_JIT_COMPLETE) == 0)
        handles->jitStack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));

    handles->data.reset(pcre2_match_data_create_from_pattern(handles->code.get(), nullptr));
    handles->context.reset(pcre2_match_context_create(nullptr));
    if (!handles->data || !handles->context) {
        *error = "out of memory";
        return nullptr;
    }
    pcre2_set_match_limit(handles->context.get(), kMatchStepLimit);
    pcre2_set_depth_limit(handles->context.get(), kDepthLimit);
    pcre2_set_heap_limit(handles->context.get(), kHeapLimitKiB);
    if (handles->jitStack)
        pcre2_jit_stack_assign(handles->context.get(), nullptr, handles->jitStack.get());

    std::uint32_t groups = 0;
    pcre2_pattern_info(handles->code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);
    return std::unique_ptr<CompiledPattern>(new CompiledPattern(std::move(handles), groups));
}

MatchOutcome CompiledPattern::Search(std::u16string_view subject, std::size_t start, std::vector<Span>& spans)
{
    if (start > subject.size())
        return MatchOutcome::NotFound;
    int rc = pcre2_match(m_handles->code.get(), Units(subject), subject.size(), start, 0, m_handles->data.get(),
                         m_handles->context.get());
    if (rc == PCRE2_ERROR_NOMATCH)
        return MatchOutcome::NotFound;
    if (rc <= 0)
        return MatchOutcome::Failed;
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(m_handles->data.get());
    std::uint32_t pairs = pcre2_get_ovector_count(m_handles->data.get());
    spans.assign(m_groups + 1, Span{});
    for (std::uint32_t i = 0; i <= m_groups && i < pairs; ++i) {
        PCRE2_SIZE from = vector[2 * i];
        PCRE2_SIZE to = vector[2 * i + 1];
        // Groups beyond the highest that took part are reported unset, as
        // are groups whose pair lies backwards (a \K cannot occur: JScript
        // syntax has none).
        if (static_cast<int>(i) >= rc || from == PCRE2_UNSET || to < from)
            continue;
        spans[i] = Span{static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to - from)};
    }
    return MatchOutcome::Found;
}

std::size_t CompiledPattern::NextStart(std::u16string_view subject, const Span& match)
{
    std::size_t end = static_cast<std::size_t>(match.start) + match.length;
    if (match.length > 0)
        return end;
    // Step over a whole surrogate pair, never into its middle.
    if (end + 1 < subject.size() && subject[end] >= 0xD800 && subject[end] <= 0xDBFF && subject[end + 1] >= 0xDC00 &&
        subject[end + 1] <= 0xDFFF)
        return end + 2;
    return end + 1;
}

}  // namespace vellumry::vbscript
