// Workers calling into windows while the window thread stops them: the stop
// returns at once, nothing a stopped worker asked for happens afterwards, and
// every stopped worker ends by itself. Also: other threads asking whether a
// window is valid while the window thread makes and destroys windows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <array>
#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowThreadCalls.h"

namespace {

using namespace std::chrono_literals;
namespace kernel = vellumry::kernel;

constexpr UINT kSentByWorker = WM_USER + 20;
constexpr UINT kPostedByWorker = WM_USER + 21;
constexpr UINT kStopSender = WM_USER + 22;
constexpr auto kLongEnough = 20s;
constexpr int kWorkersPerRound = 2;

// What the window thread saw. Only the window thread touches it, except the
// atomics.
struct Board {
    std::array<bool, kWorkersPerRound> stopped{};  // set right after TerminateThread returned
    std::array<HANDLE, kWorkersPerRound> threads{};
    int handled = 0;
    int lateEffects = 0;  // calls that ran after their worker's stop returned
    std::atomic<int> callsStarted{0};
};

Board* g_board = nullptr;

LRESULT BoardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == kSentByWorker || message == kPostedByWorker) && g_board && wParam < kWorkersPerRound) {
        ++g_board->handled;
        if (g_board->stopped[wParam])
            ++g_board->lateEffects;
        return 1;
    }
    if (message == kStopSender && g_board && wParam < kWorkersPerRound) {
        // The stop arrives while this worker's own call is running.
        TerminateThread(g_board->threads[wParam], 259);
        g_board->stopped[wParam] = true;
        return 5;
    }
    if (message == WM_DESTROY)
        std::this_thread::sleep_for(std::chrono::microseconds(200));  // a while for other threads to ask meanwhile
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeBoardWindow()
{
    static const char* className = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = BoardWindowProc;
        windowClass.lpszClassName = "WorkerStopBoard";
        RegisterClassA(&windowClass);
        return "WorkerStopBoard";
    }();
    return CreateWindowExA(0, className, "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

struct WorkerArgs {
    HWND window;
    WPARAM index;
    Board* board;
};

// Sends, posts and writes the window's text in a loop until stopped.
DWORD CallWindowForever(LPVOID parameter)
{
    auto* args = static_cast<WorkerArgs*>(parameter);
    std::string text = "worker " + std::to_string(args->index);
    for (;;) {
        args->board->callsStarted.fetch_add(1, std::memory_order_relaxed);
        SendMessageA(args->window, kSentByWorker, args->index, 0);
        PostMessageA(args->window, kPostedByWorker, args->index, 0);
        SetWindowTextA(args->window, text.c_str());
    }
}

// The window thread's wait: pumps while it waits, as the window thread does.
template <typename Done>
bool PumpUntil(Done done, std::chrono::milliseconds limit = kLongEnough)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

DWORD ExitCodeOf(HANDLE thread)
{
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    return code;
}

class WorkerStop : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_board = &m_board;
        m_window = MakeBoardWindow();
        ASSERT_TRUE(IsWindow(m_window));
    }
    void TearDown() override
    {
        kernel::StopAllWorkers(1);
        EXPECT_TRUE(PumpUntil([] { return kernel::LiveWorkerCount() == 0; }));
        DestroyWindow(m_window);
        QCoreApplication::processEvents();
        g_board = nullptr;
    }

    HANDLE Start(WorkerArgs& args)
    {
        HANDLE thread = CreateThread(nullptr, 0, CallWindowForever, &args, 0, nullptr);
        EXPECT_NE(thread, nullptr);
        m_board.threads[args.index] = thread;
        return thread;
    }

    Board m_board;
    HWND m_window = nullptr;
};

TEST_F(WorkerStop, StopsAtRandomMomentsLeaveNoLateEffectNoWorkerAndNoDeadlock)
{
    constexpr int kRounds = 500;  // two workers a round: 1,000 stops
    std::mt19937 random(2024);
    int stops = 0;
    for (int round = 0; round < kRounds; ++round) {
        m_board.stopped = {};
        std::array<WorkerArgs, kWorkersPerRound> args{};
        for (int i = 0; i < kWorkersPerRound; ++i) {
            args[i] = WorkerArgs{m_window, static_cast<WPARAM>(i), &m_board};
            Start(args[i]);
        }
        // Let the workers run for a random while, sometimes not at all.
        auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 1500);
        PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
        for (int i = 0; i < kWorkersPerRound; ++i) {
            // Sometimes with calls queued that the window thread never ran.
            if (random() % 3 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 300));
            ASSERT_TRUE(TerminateThread(m_board.threads[i], 259));
            m_board.stopped[i] = true;
            ++stops;
        }
        // Every worker is stopped: the text written now is the last one. A
        // property write of a stopped worker must never replace it.
        std::string mark = "round " + std::to_string(round);
        SetWindowTextA(m_window, mark.c_str());
        for (int i = 0; i < kWorkersPerRound; ++i) {
            HANDLE thread = m_board.threads[i];
            ASSERT_TRUE(PumpUntil([&] { return kernel::WaitForThreadEnd(thread, 0ms); })) << "round " << round;
            EXPECT_EQ(ExitCodeOf(thread), 259u);
            CloseHandle(thread);
        }
        // Posts and drops left in the queue still must not take effect.
        QCoreApplication::processEvents();
        ASSERT_EQ(m_board.lateEffects, 0) << "round " << round;
        char text[32] = {};
        GetWindowTextA(m_window, text, sizeof text);
        ASSERT_EQ(std::string(text), mark) << "a stopped worker's text write took effect";
    }
    EXPECT_EQ(stops, 2 * kRounds);
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
    EXPECT_GT(m_board.handled, 0) << "the workers' calls did run before their stops";
}

TEST_F(WorkerStop, TheWindowThreadStopsAWorkerWhoseCallWaitsWithoutPumpingForIt)
{
    WorkerArgs args{m_window, 0, &m_board};
    HANDLE thread = Start(args);
    // The worker is now waiting for the window thread, which does not pump.
    while (m_board.callsStarted.load() == 0)
        std::this_thread::yield();
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(TerminateThread(thread, 259));
    m_board.stopped[0] = true;
    EXPECT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough))
        << "a stopped worker waiting for the window thread ends without it";
    QCoreApplication::processEvents();
    EXPECT_EQ(m_board.handled, 0) << "the dropped call never ran";
    EXPECT_EQ(m_board.lateEffects, 0);
}

TEST_F(WorkerStop, AStopDuringTheWorkersOwnCallLetsThatCallFinishAndEndsTheWorker)
{
    struct Args {
        HWND window;
        std::atomic<LRESULT> answer{0};
        std::atomic<bool> returnedFromSecondCall{false};
    } args{m_window};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* args = static_cast<Args*>(parameter);
            args->answer = SendMessageA(args->window, kStopSender, 0, 0);
            SendMessageA(args->window, kSentByWorker, 0, 0);
            args->returnedFromSecondCall = true;
            return 0;
        },
        &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    m_board.threads[0] = thread;
    ASSERT_TRUE(PumpUntil([&] { return kernel::WaitForThreadEnd(thread, 0ms); }));
    EXPECT_EQ(ExitCodeOf(thread), 259u);
    EXPECT_EQ(args.answer.load(), 5) << "the call under way finished and answered";
    EXPECT_FALSE(args.returnedFromSecondCall.load());
    EXPECT_EQ(m_board.handled, 0);
}

TEST_F(WorkerStop, AnExceptionInCarriedWorkReachesTheCaller)
{
    std::atomic<int> outcome{0};
    std::thread caller([&] {
        try {
            vellumry::ui::RunOnWindowThread([]() -> int { throw std::runtime_error("inside"); });
            outcome = 1;
        } catch (const std::runtime_error& error) {
            outcome = std::string(error.what()) == "inside" ? 2 : 3;
        }
    });
    EXPECT_TRUE(PumpUntil([&] { return outcome.load() != 0; }));
    caller.join();
    EXPECT_EQ(outcome.load(), 2);
}

TEST_F(WorkerStop, AResultCarriedBackIsTheWorkersAndAVoidCallRuns)
{
    std::atomic<bool> done{false};
    std::string answer;
    int ranOn = 0;
    std::thread caller([&] {
        answer = vellumry::ui::RunOnWindowThread([]() -> std::string { return std::string(100, 'x'); });
        vellumry::ui::RunOnWindowThread([&] { ranOn = QCoreApplication::instance()->thread() ==
                                                                QThread::currentThread() ? 1 : 2; });
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    caller.join();
    EXPECT_EQ(answer, std::string(100, 'x'));
    EXPECT_EQ(ranOn, 1);
}

TEST(WindowThreads, AWindowDestroyedOnTheWindowThreadIsInvalidForEveryThreadAtOnce)
{
    // A worker keeps asking about the window of the moment; once the window
    // thread has published that a window is destroyed, the worker must find
    // it invalid. Under ThreadSanitizer this also checks that the record's
    // destroying mark and widget are only touched under the table's lock.
    constexpr int kWindows = 300;
    std::atomic<HWND> current{nullptr};
    std::atomic<HWND> destroyed{nullptr};
    std::atomic<bool> done{false};
    std::atomic<int> staleAnswers{0};
    std::atomic<long> questions{0};
    std::thread asker([&] {
        while (!done.load()) {
            IsWindow(current.load());
            if (HWND gone = destroyed.load(); gone && IsWindow(gone))
                ++staleAnswers;
            ++questions;
        }
    });
    for (int i = 0; i < kWindows; ++i) {
        HWND top = MakeBoardWindow();
        ASSERT_TRUE(IsWindow(top));
        current = top;
        QCoreApplication::processEvents();
        DestroyWindow(top);
        destroyed = top;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    done = true;
    asker.join();
    EXPECT_EQ(staleAnswers.load(), 0);
    EXPECT_GT(questions.load(), 0);
}

}  // namespace
