// Workers driving the report list while the window thread empties it, counts
// its rows and stops one of them: every call is one whole operation (no cell
// is torn, no write of a worker lost while its row stood, no row outlives an
// emptying), nothing deadlocks, and once TerminateThread returned the stopped
// worker changes nothing. The workers' calls do not wait for the window
// thread, so they go on between any two of its calls.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include <QAbstractItemView>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/ui/WinUser.h"
#include "runtime/RuntimeHeap.h"
#include "tests/units/extendedui/ExtendedUiForm.h"
#include "units/listview/ListViewColumns.h"

namespace {

using namespace std::chrono_literals;
using namespace vellumry;
using namespace vellumry::test;
using runtime::ExtendedUiCommand;

constexpr int kWorkers = 2;
constexpr DWORD kStopCode = 259;

// A cell text that shows whether it arrived whole: the worker's letter, the
// sequence number, a run of filler whose length the number decides, and an
// end mark.
std::string CellTextFor(char worker, int sequence, int column)
{
    std::string number = std::to_string(sequence);
    return std::string(1, worker) + ":" + number + ":" + std::to_string(column) + ":" +
           std::string(static_cast<std::size_t>(sequence % 97 + column * 40), 'x') + ":end";
}

bool IsWhole(const std::string& text, int column)
{
    // "<worker>:<number>:<column>:<filler>:end"
    if (text.size() < 2 || (text[0] != 'A' && text[0] != 'B') || text[1] != ':')
        return false;
    std::size_t numberEnd = text.find(':', 2);
    if (numberEnd == std::string::npos)
        return false;
    int sequence = std::stoi(text.substr(2, numberEnd - 2));
    return text == CellTextFor(text[0], sequence, column);
}

struct Shared {
    // Bumped by the window thread before and after each DeleteAllRows: odd
    // while one is under way.
    std::atomic<int> deletions{0};
    // The sequence number each worker ('A', 'B') is about to insert.
    std::array<std::atomic<int>, kWorkers> begun{};
    std::atomic<int> tornReads{0};
    std::atomic<int> lostWrites{0};
    std::atomic<long> rowsAdded{0};
};

struct WorkerArgs {
    char letter;
    Shared* shared;
};

std::string ReadCell(std::int32_t row, std::int32_t column)
{
    runtime::TypedValue result = ExtendedUiForm::Call(ExtendedUiCommand::GetCellText, kListId,
                                                      {Int(row), Int(column)});
    char* text = result.Pointer<char>();
    std::string copy = text ? text : "";
    runtime::RuntimeFree(text);
    return copy;
}

// The parser's pattern, with its own check after each row.
DWORD AddRowsForever(LPVOID parameter)
{
    auto* args = static_cast<WorkerArgs*>(parameter);
    Shared& shared = *args->shared;
    for (int sequence = 0;; ++sequence) {
        int deletionsBefore = shared.deletions.load();
        shared.begun[static_cast<std::size_t>(args->letter - 'A')].store(sequence);
        std::string first = std::string(1, args->letter) + ":" + std::to_string(sequence);
        std::int32_t row =
            ExtendedUiForm::Call(ExtendedUiCommand::InsertRow, kListId, {LeftOut(), Text(first)}).Int();
        std::string second = CellTextFor(args->letter, sequence, 1);
        std::string third = CellTextFor(args->letter, sequence, 2);
        ExtendedUiForm::Call(ExtendedUiCommand::SetCellText, kListId, {Int(row), Int(1), Text(second)});
        ExtendedUiForm::Call(ExtendedUiCommand::SetCellText, kListId, {Int(row), Int(2), Text(third)});
        ExtendedUiForm::Call(ExtendedUiCommand::EnsureRowVisible, kListId, {Int(row)});
        std::string read1 = ReadCell(row, 1);
        std::string read2 = ReadCell(row, 2);
        ExtendedUiForm::Call(ExtendedUiCommand::GetRowCount, kListId, {});
        shared.rowsAdded.fetch_add(1);
        if ((!read1.empty() && !IsWhole(read1, 1)) || (!read2.empty() && !IsWhole(read2, 2)))
            shared.tornReads.fetch_add(1);
        // With no emptying meanwhile the row is still this worker's: a cell
        // holds what it wrote, unless the other worker, holding an index
        // from before an emptying, wrote a whole text of its own there.
        auto lost = [&](const std::string& read, const std::string& written, int column) {
            bool overwritten = IsWhole(read, column) && read[0] != args->letter;
            return read != written && !overwritten;
        };
        bool noEmptying = deletionsBefore % 2 == 0 && shared.deletions.load() == deletionsBefore;
        if (noEmptying && (lost(read1, second, 1) || lost(read2, third, 2)))
            shared.lostWrites.fetch_add(1);
    }
}

class ListViewWorkers : public ExtendedUiForm {
protected:
    void TearDown() override
    {
        kernel::StopAllWorkers(1);
        EXPECT_TRUE(WaitFor([] { return kernel::LiveWorkerCount() == 0; }, 30s));
        ExtendedUiForm::TearDown();
    }

    // Empties the list while the workers go on adding rows: afterwards the
    // list holds only rows the workers began after the emptying began.
    ::testing::AssertionResult DeleteAll(Shared& shared)
    {
        std::array<int, kWorkers> begun{};
        for (std::size_t i = 0; i < begun.size(); ++i)
            begun[i] = shared.begun[i].load();
        shared.deletions.fetch_add(1);
        OnList(ExtendedUiCommand::DeleteAllRows);
        shared.deletions.fetch_add(1);
        std::int32_t rows = RowCount();
        for (std::int32_t row = 0; row < rows; ++row) {
            std::string first = CellText(row, 0);
            std::size_t worker = static_cast<std::size_t>(first.empty() ? 0 : first[0] - 'A');
            if (first.size() < 3 || worker >= begun.size() || std::stoi(first.substr(2)) < begun[worker])
                return ::testing::AssertionFailure() << "row " << row << " (" << first << ") outlived the emptying";
        }
        return ::testing::AssertionSuccess();
    }

    // Every row is a worker's whole row, and none of them is `stopped`'s.
    ::testing::AssertionResult ListIsSound(char stopped)
    {
        std::int32_t rows = RowCount();
        for (std::int32_t row = 0; row < rows; ++row) {
            std::string first = CellText(row, 0);
            if (first.empty() || (first[0] != 'A' && first[0] != 'B'))
                return ::testing::AssertionFailure() << "row " << row << " starts with '" << first << "'";
            if (first[0] == stopped)
                return ::testing::AssertionFailure() << "row " << row << " came after its worker's stop: " << first;
            for (int column = 1; column < 3; ++column) {
                std::string text = CellText(row, column);
                if (!text.empty() && !IsWhole(text, column))
                    return ::testing::AssertionFailure() << "cell " << row << "," << column << " is torn";
                if (!text.empty() && text[0] == stopped)
                    return ::testing::AssertionFailure() << "cell " << row << "," << column << " after the stop";
            }
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(ListViewWorkers, AppendAndSetCellsWhileTheWindowThreadEmptiesCountsAndStops)
{
    units::ListViewProperties list;
    list.ViewType = units::kReportView;
    std::vector<units::ListViewColumn> columns = {{0, -1, 0, 60, "n"}, {0, -1, 0, 300, "url"}, {0, -1, 0, 200, "s"}};
    list.Columns = units::WriteListViewColumns(columns);
    Load(list);
    // Hidden, so that nothing is painted: Qt's painting hands image work to
    // threads of its own pool, which the thread checker, not seeing into
    // Qt's locks, would report. What is checked here is the list's data and
    // the calls carried to it; painting has its tests and the benchmark.
    ShowWindow(GetParent(List()->Handle()), SW_HIDE);

    constexpr int kRounds = 60;
    constexpr int kDeletionsPerRound = 40;
    std::mt19937 random(77);
    Shared shared;
    int deletions = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (std::atomic<int>& begun : shared.begun)
            begun = 0;  // the workers of this round count from 0 again
        std::array<WorkerArgs, kWorkers> args{{{'A', &shared}, {'B', &shared}}};
        std::array<HANDLE, kWorkers> threads{};
        for (int i = 0; i < kWorkers; ++i) {
            threads[i] = CreateThread(nullptr, 0, AddRowsForever, &args[i], 0, nullptr);
            ASSERT_NE(threads[i], nullptr);
        }
        int stopAt = static_cast<int>(random() % kDeletionsPerRound);
        char stopped = 0;
        for (int step = 0; step < kDeletionsPerRound; ++step) {
            auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 2000);
            WaitFor([&] { return std::chrono::steady_clock::now() >= until; });
            EXPECT_GE(RowCount(), 0);
            if (step == stopAt) {
                // Worker A goes; from here on nothing of A may appear.
                ASSERT_TRUE(TerminateThread(threads[0], kStopCode));
                stopped = 'A';
            }
            EXPECT_TRUE(DeleteAll(shared));
            ++deletions;
            if (stopped) {
                WaitFor([&] { return std::chrono::steady_clock::now() >= until + 500us; });
                ASSERT_TRUE(ListIsSound(stopped)) << "round " << round;
            }
        }
        ASSERT_TRUE(TerminateThread(threads[1], kStopCode));
        for (HANDLE thread : threads) {
            ASSERT_TRUE(WaitFor([&] { return kernel::WaitForThreadEnd(thread, 0ms); }, 30s)) << "round " << round;
            DWORD code = 0;
            EXPECT_TRUE(GetExitCodeThread(thread, &code));
            EXPECT_EQ(code, kStopCode);
            CloseHandle(thread);
        }
        // Calls dropped by the stops, still queued, must not take effect.
        WaitFor([] { return false; }, 5ms);
        ASSERT_TRUE(ListIsSound('B' + 1)) << "round " << round;
        std::int32_t rows = RowCount();
        for (std::int32_t row = 0; row < rows; ++row)
            ASSERT_NE(CellText(row, 0)[0], 'A') << "round " << round;
    }
    EXPECT_EQ(deletions, kRounds * kDeletionsPerRound);
    EXPECT_EQ(shared.tornReads.load(), 0);
    EXPECT_EQ(shared.lostWrites.load(), 0);
    EXPECT_GT(shared.rowsAdded.load(), kRounds) << "the workers did add rows";
}

// Adds rows and writes and reads their cells, then keeps reading the count
// until it is stopped.
struct OwnRows {
    int rows = 0;
    std::atomic<bool> done{false};
    std::atomic<int> ownTextsRead{0};
    std::atomic<int> countRead{-1};
};

DWORD AddRowsThenReadUntilStopped(LPVOID parameter)
{
    auto* own = static_cast<OwnRows*>(parameter);
    for (int i = 0; i < own->rows; ++i) {
        std::int32_t row =
            ExtendedUiForm::Call(ExtendedUiCommand::InsertRow, kListId, {LeftOut(), Text(std::to_string(i))}).Int();
        std::string address = "http://127.0.0.1/" + std::to_string(i) + ".jpg";
        ExtendedUiForm::Call(ExtendedUiCommand::SetCellText, kListId, {Int(row), Int(1), Text(address)});
        ExtendedUiForm::Call(ExtendedUiCommand::EnsureRowVisible, kListId, {Int(row)});
        if (ReadCell(row, 1) == address && ReadCell(row, 0) == std::to_string(i))
            own->ownTextsRead.fetch_add(1);
    }
    own->countRead = ExtendedUiForm::Call(ExtendedUiCommand::GetRowCount, kListId, {}).Int();
    own->done = true;
    for (;;)
        ExtendedUiForm::Call(ExtendedUiCommand::GetRowCount, kListId, {});
}

TEST_F(ListViewWorkers, AWorkersCallsDoNotWaitForTheWindowThreadAndTheViewCatchesUpAfterItsStop)
{
    units::ListViewProperties list;
    list.ViewType = units::kReportView;
    std::vector<units::ListViewColumn> columns = {{0, -1, 0, 60, "n"}, {0, -1, 0, 300, "url"}};
    list.Columns = units::WriteListViewColumns(columns);
    Load(list);
    ShowWindow(GetParent(List()->Handle()), SW_HIDE);  // nothing painted, as above
    QAbstractItemModel& model = *List()->View()->model();

    OwnRows own;
    own.rows = 300;
    HANDLE worker = CreateThread(nullptr, 0, AddRowsThenReadUntilStopped, &own, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    // The window thread pumps nothing meanwhile: a call carried over to it
    // would wait for ever.
    auto until = std::chrono::steady_clock::now() + 20s;
    while (!own.done && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(own.done) << "the worker waited for the window thread";
    EXPECT_EQ(own.ownTextsRead.load(), own.rows) << "each read saw the worker's own writes";
    EXPECT_EQ(own.countRead.load(), own.rows);
    EXPECT_EQ(model.rowCount(), 0) << "the view catches up on the window thread only";

    // Stopped before the window thread heard of its changes: the notice still
    // comes, as the changes were made before the stop.
    ASSERT_TRUE(TerminateThread(worker, kStopCode));
    ASSERT_TRUE(kernel::WaitForThreadEnd(worker, 10s));
    CloseHandle(worker);
    ASSERT_TRUE(WaitFor([&] { return model.rowCount() == own.rows; }));
    EXPECT_EQ(model.data(model.index(own.rows - 1, 1)).toString(), "http://127.0.0.1/299.jpg");
    EXPECT_EQ(RowCount(), own.rows);
}

}  // namespace
