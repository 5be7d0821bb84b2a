// Report list benchmark: one worker adds 100,000 rows of three cells the way
// the gallery parser does (InsertRow, three SetCellText, EnsureRowVisible),
// through the library's command slots, while the window thread runs its
// event loop with a 5 ms steady timer. Prints rows per second, the longest
// stall of the event loop (the longest gap between timer ticks beyond the
// interval) and the peak memory above the empty window.
//   list_view_bench [rows]
// Goals: stall under 50 ms; under 64 MiB above the empty window.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "platform/codepage/CodePage.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/ui/UiApplication.h"
#include "runtime/ExtendedUiCommandSlots.h"
#include "tests/forms/engine/TestUnits.h"
#include "units/ExtendedUiCommands.h"
#include "units/common/UnitHost.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewProperties.h"
#include "units/listview/ListViewUnitType.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;
using runtime::ExtendedUiCommand;
using runtime::TypedValue;
using Clock = std::chrono::steady_clock;

constexpr forms::UnitId kListId = 0x16010014;
constexpr auto kTick = std::chrono::milliseconds(5);

// A field of /proc/self/status in KiB.
long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// Lets the peak resident size start again from the current one.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

TypedValue Call(ExtendedUiCommand command, std::vector<TypedValue> arguments)
{
    TypedValue reference;
    reference.low = test::kTestFormId;
    reference.high = kListId;
    reference.tag = runtime::kListViewType;
    arguments.insert(arguments.begin(), reference);
    TypedValue result;
    runtime::ExtendedUiCommandSlot(command)(&result, static_cast<std::int32_t>(arguments.size()), arguments.data());
    return result;
}

TypedValue TextOf(const std::string& text)
{
    return TypedValue::OfPointer(runtime::kTextType, text.c_str());
}

int g_rows = 100000;

DWORD AddRows(LPVOID)
{
    const std::string status = codepage::Utf8ToGbk("等待下载————————");
    for (int i = 0; i < g_rows; ++i) {
        std::int32_t row = Call(ExtendedUiCommand::InsertRow, {}).Int();
        std::string number = std::to_string(row + 1);
        std::string address = "http://127.0.0.1:8080/740x-/uploadImages/2026/12/" + std::to_string(100000 + i) + ".jpg";
        Call(ExtendedUiCommand::SetCellText, {TypedValue::OfInt(row), TypedValue::OfInt(0), TextOf(number)});
        Call(ExtendedUiCommand::SetCellText, {TypedValue::OfInt(row), TypedValue::OfInt(1), TextOf(address)});
        Call(ExtendedUiCommand::SetCellText, {TypedValue::OfInt(row), TypedValue::OfInt(2), TextOf(status)});
        Call(ExtendedUiCommand::EnsureRowVisible, {TypedValue::OfInt(row)});
    }
    return 0;
}

bool LoadStartWindow()
{
    test::InstallTestUnitTypes();
    units::InstallWindowUnitType();
    units::InstallListViewUnitType();
    units::InstallExtendedUiCommands();
    units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);

    units::WindowProperties window;
    window.StartPosition = 0;
    units::ListViewProperties list;
    list.BorderStyle = 3;
    list.TextBackColour = 0xECECEC;
    list.ViewType = units::kReportView;
    list.FullRowSelect = 1;
    list.GridLines = 1;
    std::vector<units::ListViewColumn> columns = {{0, -1, 0, 100, codepage::Utf8ToGbk("序号")},
                                                  {0, -1, 0, 500, codepage::Utf8ToGbk("图片下载地址")},
                                                  {0, -1, 0, 150, codepage::Utf8ToGbk("下载状态")}};
    list.Columns = units::WriteListViewColumns(columns);

    auto specs = test::StandardUnits();
    specs.resize(1);
    std::vector<std::uint8_t> windowRecord = units::SaveRecord(window);
    specs[0].content.assign(windowRecord.begin(), windowRecord.end());
    specs[0].position = {50, 50, 800, 440};
    std::vector<std::uint8_t> listRecord = units::SaveRecord(list);
    test::TestUnitEntry entry{kListId, runtime::kListViewType, {24, 104, 759, 336}, forms::kUnitVisible, {}, "", ""};
    entry.content.assign(listRecord.begin(), listRecord.end());
    specs.push_back(entry);
    test::InstallTestForm(specs);
    return forms::LoadForm(test::kTestFormId, false, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1)
        g_rows = std::max(1, std::atoi(argv[1]));
    ui::UiApplication application(argc, argv);
    if (!LoadStartWindow()) {
        std::fprintf(stderr, "the window could not be loaded\n");
        return 1;
    }
    // The empty window, settled.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    long emptyKiB = StatusKiB("VmRSS");
    ResetPeak();

    HANDLE worker = CreateThread(nullptr, 0, AddRows, nullptr, 0, nullptr);
    Clock::time_point start = Clock::now();
    Clock::time_point lastTick = start;
    Clock::duration longestStall{};
    QEventLoop loop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(kTick);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        Clock::time_point now = Clock::now();
        longestStall = std::max(longestStall, now - lastTick - kTick);
        lastTick = now;
        if (kernel::WaitForThreadEnd(worker, std::chrono::milliseconds(0)))
            loop.quit();
    });
    ticker.start();
    loop.exec();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    long peakKiB = StatusKiB("VmHWM");
    std::int32_t rows = Call(ExtendedUiCommand::GetRowCount, {}).Int();
    CloseHandle(worker);

    std::printf("rows added:            %d in %.2f s\n", rows, seconds);
    std::printf("rows per second:       %.0f\n", rows / seconds);
    std::printf("longest loop stall:    %.1f ms (goal < 50 ms)\n",
                std::chrono::duration<double, std::milli>(longestStall).count());
    std::printf("peak above empty:      %.1f MiB (goal < 64 MiB; empty window %.1f MiB)\n",
                (peakKiB - emptyKiB) / 1024.0, emptyKiB / 1024.0);
    test::TearDownForms();
    return rows == g_rows ? 0 : 1;
}
