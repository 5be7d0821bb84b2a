#include "runtime/ErrorReporter.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "platform/debug/Debugger.h"
#include "platform/user/MessageBox.h"
#include "runtime/ErrorContext.h"
#include "runtime/EventSuppression.h"
#include "runtime/ExitRoutines.h"
#include "runtime/RuntimeState.h"
#include "runtime/RuntimeTexts.h"
#include "runtime/Shutdown.h"

namespace vellumry::runtime {
namespace {

std::atomic<const ErrorContextSource*> g_contextSource{nullptr};
std::atomic<ErrorHook> g_hook{nullptr};
std::atomic<bool> g_hookRunning{false};

constexpr const char* kCodeMessages[] = {
    nullptr,
    texts::kErrorCode1,
    texts::kErrorCode2,
    texts::kErrorCode3,
    texts::kErrorCode4,
    texts::kErrorCode5,
    texts::kErrorCode6,
    texts::kErrorCode7,
    texts::kErrorCode8,
    texts::kErrorCode9,
    texts::kErrorCode10,
    texts::kErrorCode11,
};

constexpr int kDebugRunMode = 2;

// Memory kept back from the start for the report itself: composing the
// texts, showing the box and shutting down all allocate, and a report of
// exhausted memory must not depend on the allocator that has just failed.
// The report gives it back to the heap before it does anything else. Blocks
// below the heap's mapping threshold go back to its free lists, where the
// next allocations find them.
class ReportReserve {
public:
    ReportReserve()
    {
        for (auto& block : m_blocks)
            block = std::make_unique_for_overwrite<std::byte[]>(kBlockSize);
    }

    // Idempotent; any thread.
    void Release()
    {
        if (m_released.exchange(true))
            return;
        for (auto& block : m_blocks)
            block.reset();
    }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    static constexpr std::size_t kBlocks = 16;
    std::array<std::unique_ptr<std::byte[]>, kBlocks> m_blocks;
    std::atomic<bool> m_released{false};
};

ReportReserve g_reserve;

bool IsFormId(std::int32_t value)
{
    return ((static_cast<std::uint32_t>(value) >> 24) & 0xF) == 2;
}

std::string Quoted(const char* lead, const std::string& tag)
{
    return lead + tag + texts::kQuote;
}

}  // namespace

void SetErrorContextSource(const ErrorContextSource* source)
{
    g_contextSource.store(source);
}

void SetErrorHook(ErrorHook hook)
{
    g_hook.store(hook);
}

const char* ErrorCodeMessage(std::int32_t code)
{
    constexpr auto kCount = static_cast<std::int32_t>(std::size(kCodeMessages));
    return code > 0 && code < kCount ? kCodeMessages[code] : nullptr;
}

std::string ComposeErrorContext(std::int32_t related1, std::int32_t related2)
{
    char line[512];
    std::snprintf(line, sizeof line, texts::kRelatedValues, related1, related2);
    std::string context = line;
    if (related1 != 0 && IsFormId(related1)) {
        const ErrorContextSource* source = g_contextSource.load();
        auto formId = static_cast<std::uint32_t>(related1);
        auto formTag = source ? source->FormTag(formId) : std::nullopt;
        if (!formTag) {
            context += texts::kFormNotFound;
        } else {
            context += Quoted(texts::kFormTagLine, *formTag);
            auto unitTag = source->UnitTag(formId, static_cast<std::uint32_t>(related2));
            context += unitTag ? Quoted(texts::kUnitTagLine, *unitTag) : std::string(texts::kUnitNotFound);
        }
    }
    context += texts::kLineEnd;
    return context;
}

std::string ComposeErrorBox(const char* message, std::int32_t code, const std::string& context)
{
    std::string box = texts::kRuntimeErrorHead;
    if (code != 0)
        box += texts::kErrorCodeLine + std::to_string(code) + texts::kLineEnd;
    if (message && *message)
        box += texts::kErrorMessageLine + std::string(message) + texts::kLineEnd;
    return box + context;
}

void ReportError(const char* message, std::int32_t code, std::int32_t related1, std::int32_t related2)
{
    g_reserve.Release();
    RaiseEventSuppression();
    std::string context = ComposeErrorContext(related1, related2);

    bool handled = false;
    ErrorHook hook = g_hook.load();
    bool expected = false;
    if (hook && g_hookRunning.compare_exchange_strong(expected, true)) {
        std::string full = (message ? message : "") + context;
        handled = hook(code, full.c_str()) != 0;
        g_hookRunning.store(false);
    }
    if (!handled) {
        std::string box = ComposeErrorBox(message, code, context);
        MessageBoxA(nullptr, box.c_str(), texts::kRuntimeErrorTitle, MB_OK | MB_ICONERROR);
    }
    if (Runtime().runMode == kDebugRunMode)
        DebugBreak();
    ClearExitRoutines();
    EndProgram(-1);
}

void ReportErrorCode(std::int32_t code, std::int32_t related1, std::int32_t related2)
{
    ReportError(ErrorCodeMessage(code), code, related1, related2);
}

}  // namespace vellumry::runtime
