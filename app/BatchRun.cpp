#include "app/BatchRun.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/AppTexts.h"
#include "app/ApplicationGlobals.h"
#include "app/CoreCommands.h"
#include "app/Settings.h"
#include "app/description/ProgramDescription.h"
#include "forms/engine/FormEngine.h"
#include "platform/codepage/CodePage.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/shell/FolderChooser.h"
#include "platform/ui/SimulatedInput.h"
#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/WinUser.h"
#include "runtime/DataTypeTag.h"
#include "runtime/ExtendedUiCommandSlots.h"
#include "runtime/RuntimeState.h"
#include "units/statusbar/StatusTextObserver.h"

namespace vellumry::app {
namespace {

using Clock = std::chrono::steady_clock;
using runtime::TypedValue;

constexpr const auto& kText = texts::kAppStaticData;
constexpr forms::UnitId kWindowUnitId = 0x06010000;
constexpr std::int32_t kStatusPart = 0;

// What is left of the time limit; a long while when there is none.
class Deadline {
public:
    explicit Deadline(int seconds)
        : m_end(seconds > 0 ? Clock::now() + std::chrono::seconds(seconds) : Clock::time_point::max())
    {
    }
    std::chrono::milliseconds Left() const
    {
        if (m_end == Clock::time_point::max())
            return std::chrono::hours(24 * 365);
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - Clock::now());
        return left.count() > 0 ? left : std::chrono::milliseconds(0);
    }

private:
    Clock::time_point m_end;
};

// Window thread: the unit of the start window with this name (UTF-8), as a
// unit reference.
std::optional<TypedValue> FindUnit(std::string_view name)
{
    const std::string wanted = codepage::Utf8ToGbk(name);
    std::int32_t list = EnumerateUnits(TypedValue::OfUnit(runtime::kWindowType, kStartFormId, kWindowUnitId));
    if (list == 0)
        return std::nullopt;
    std::optional<TypedValue> found;
    const std::int32_t count = UnitListCount(list);
    for (std::int32_t i = 0; i < count && !found; ++i) {
        TypedValue unit = UnitListItem(list, i);
        OwnedText unitName = UnitNameOf(unit);
        if (wanted == OrEmpty(unitName.get()))
            found = unit;
    }
    UnitListRelease(list);
    return found;
}

// Window thread: the window of a named unit, null when there is none.
HWND WindowOfUnit(std::string_view name)
{
    std::optional<TypedValue> unit = FindUnit(name);
    ui::WindowObject* object = unit ? forms::ResolveUnit(unit->low, unit->high) : nullptr;
    return object ? object->Handle() : nullptr;
}

// Clicks a named button of the start window, on the window thread.
bool Press(std::string_view button)
{
    return ui::RunOnWindowThread([&] {
        HWND window = WindowOfUnit(button);
        return window && ui::ClickWindow(window);
    });
}

bool Type(std::string_view box, const std::string& text)
{
    return ui::RunOnWindowThread([&] {
        HWND window = WindowOfUnit(box);
        return window && ui::TypeIntoWindow(window, text);
    });
}

// Presses a button that starts a worker and answers the worker's handle, 0
// when the press started none (the handler stores the handle of each worker
// it starts in `handle` of the globals).
std::int32_t PressForWorker(std::string_view button, std::int32_t ApplicationGlobals::*handle, bool& pressed)
{
    return ui::RunOnWindowThread([&]() -> std::int32_t {
        HWND window = WindowOfUnit(button);
        const std::int32_t before = Globals().*handle;
        pressed = window && ui::ClickWindow(window);
        const std::int32_t after = Globals().*handle;
        return after != before ? after : 0;
    });
}

HANDLE AsHandle(std::int32_t thread)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(thread));
}

// Lets every call the workers queued for the window thread before now run.
void LetQueuedCallsRun()
{
    ui::RunOnWindowThread([] {});
}

// The report list's rows, through its commands (any thread).
class ReportRows {
public:
    explicit ReportRows(TypedValue list) : m_list(list) {}

    std::int32_t Count() const
    {
        TypedValue result;
        runtime::ExtendedUiCommandSlot(runtime::ExtendedUiCommand::GetRowCount)(&result, 1, &m_list);
        return result.Int();
    }
    std::string Cell(std::int32_t row, std::int32_t column) const
    {
        const TypedValue arguments[] = {m_list, TypedValue::OfInt(row), TypedValue::OfInt(column)};
        TypedValue result;
        runtime::ExtendedUiCommandSlot(runtime::ExtendedUiCommand::GetCellText)(&result, 3, arguments);
        OwnedText text(result.Pointer<char>());
        return OrEmpty(text.get());
    }

private:
    TypedValue m_list;
};

constexpr std::int32_t kStatusColumn = 2;

struct RowSummary {
    std::int32_t rows = 0;
    std::int32_t done = 0;
    std::int32_t failed = 0;
};

RowSummary Summarise(const ReportRows& rows)
{
    RowSummary summary;
    summary.rows = rows.Count();
    for (std::int32_t row = 0; row < summary.rows; ++row) {
        std::string status = rows.Cell(row, kStatusColumn);
        if (status == kText.kDownloaded)
            ++summary.done;
        else if (status == kText.kDownloadFailed)
            ++summary.failed;
    }
    return summary;
}

void PrintSummary(const RowSummary& summary)
{
    std::printf("vellumry: %d rows, %d 下载完成, %d 下载失败, %d not downloaded\n", summary.rows, summary.done,
                summary.failed, summary.rows - summary.done - summary.failed);
    std::fflush(stdout);
}

void Complain(const std::string& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "vellumry: %s\n", message.c_str());
}

}  // namespace

BatchRun::BatchRun(int& argc, char** argv, ProgramEntry entry, BatchOptions options)
    : RuntimeApplication(argc, argv, entry), m_options(std::move(options))
{
    units::SetStatusTextObserver([](forms::FormId form, forms::UnitId, std::int32_t part, std::string_view text) {
        if (form != kStartFormId || part != kStatusPart)
            return;
        std::printf("%s\n", codepage::GbkToUtf8(text).c_str());
        std::fflush(stdout);
    });
    std::string folder = m_options.folder;
    shell::SetFolderAnswerer([folder](const shell::FolderQuestion&) { return std::optional<std::string>(folder); });
    // Without a display nobody sees the window: it draws nothing but the
    // screenshot.
    ui::SkipUnseenDrawing(true);
}

BatchRun::~BatchRun()
{
    if (m_driver.joinable())
        m_driver.join();
    ui::SkipUnseenDrawing(false);
    units::SetStatusTextObserver({});
    shell::SetFolderAnswerer({});
}

bool BatchRun::OnIdle(long count)
{
    bool more = RuntimeApplication::OnIdle(count);
    if (!m_started && runtime::Runtime().messageLoopEntered.load() && forms::ResolveUnit(kStartFormId, 0)) {
        m_started = true;
        m_driver = std::thread([this] { Drive(); });
    }
    return more;
}

void BatchRun::Drive()
{
    const Deadline deadline(m_options.timeoutSeconds);
    int code = 1;
    // Waits for a worker; on running out of time stops every worker as a
    // person would, with 停止, and says so.
    auto waitFor = [&](std::int32_t worker) {
        if (kernel::WaitForThreadEnd(AsHandle(worker), deadline.Left()))
            return true;
        Press("按钮_停止");
        kernel::WaitForThreadEnd(AsHandle(worker), std::chrono::seconds(10));
        LetQueuedCallsRun();
        Complain("gave up after " + std::to_string(m_options.timeoutSeconds) + " seconds; the workers were stopped");
        return false;
    };
    auto run = [&]() -> int {
        if (!m_options.pictureHost.empty()) {
            OwnedText settings = ProgramSettingsPath();
            const std::string host = codepage::Utf8ToGbk(m_options.pictureHost);
            if (!WriteProfileItem(settings.get(), kText.kSiteSection, kText.kPictureHostKey, host.c_str())) {
                Complain("the picture host could not be written to the settings file " +
                         codepage::GbkToUtf8(OrEmpty(settings.get())));
                return 1;
            }
        }
        if (!Type("编辑框_网页地址", m_options.address) || !Type("编辑框_起始页码", m_options.fromPage) ||
            !Type("编辑框_终止页码", m_options.toPage)) {
            Complain("the address and page boxes could not be typed into");
            return 1;
        }
        bool pressed = false;
        const std::int32_t parser = PressForWorker("按钮_解析", &ApplicationGlobals::parseThread, pressed);
        if (!pressed || parser == 0) {
            Complain(pressed ? "解析 started no parse" : "解析 could not be pressed");
            return 1;
        }
        if (!waitFor(parser))
            return 1;
        LetQueuedCallsRun();
        std::optional<TypedValue> list = ui::RunOnWindowThread([] { return FindUnit("超级列表框1"); });
        if (!list) {
            Complain("the window has no report list");
            return 1;
        }
        const ReportRows rows(*list);
        if (rows.Count() == 0) {
            PrintSummary({});
            Complain("the parse found no pictures");
            return 1;
        }
        if (!Press("按钮_保存路径")) {
            Complain("the folder button could not be pressed");
            return 1;
        }
        const std::int32_t downloader = PressForWorker("按钮_下载", &ApplicationGlobals::downloadThread, pressed);
        if (!pressed || downloader == 0) {
            Complain(pressed ? "下载 started no download" : "下载 could not be pressed");
            return 1;
        }
        const bool ended = waitFor(downloader);
        LetQueuedCallsRun();
        const RowSummary summary = Summarise(rows);
        PrintSummary(summary);
        if (ended && summary.done == summary.rows)
            std::printf("vellumry: the pictures are in %s\n", m_options.folder.c_str());
        std::fflush(stdout);
        return ended && summary.done == summary.rows ? 0 : 1;
    };
    code = run();
    ui::RunOnWindowThread([&] {
        ui::WindowObject* window = forms::ResolveUnit(kStartFormId, 0);
        if (!window)
            return;
        if (!m_options.screenshot.empty() && !ui::RenderWindowToPng(window->Handle(), m_options.screenshot.c_str())) {
            Complain("the window could not be saved to " + m_options.screenshot);
            code = 1;
        }
        // Before the close: the loop may end as soon as it is posted.
        m_exitCode = code;
        m_finished = true;
        PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
    });
}

}  // namespace vellumry::app
