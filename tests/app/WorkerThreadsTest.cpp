// Worker threads started and stopped through the program's DLL command table.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/ProgramWiring.h"
#include "app/WorkerThreads.h"
#include "app/description/DllCommandTable.h"
#include "platform/com/Apartment.h"
#include "platform/kernel/StopAwareWait.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/kernel/ThreadStop.h"
#include "runtime/DllCommands.h"
#include "web/RegexMatcher.h"

namespace {

using namespace vellumry;
using namespace std::chrono_literals;

// Workers wait here until the gate opens or they are stopped.
std::mutex g_lock;
std::condition_variable g_signal;
bool g_open = false;
std::atomic<int> g_waiting{0};
std::atomic<int> g_passed{0};

DWORD WaitAtGate(LPVOID parameter)
{
    ++g_waiting;
    if (kernel::WaitUnlessStopped(g_lock, g_signal, [] { return g_open; }) == kernel::WaitOutcome::Stopped)
        throw kernel::ThreadStopped{};
    ++g_passed;
    return static_cast<DWORD>(reinterpret_cast<std::intptr_t>(parameter));
}

HANDLE AsHandle(std::int32_t thread)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(thread));
}

DWORD ExitCode(std::int32_t thread)
{
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(AsHandle(thread), &code));
    return code;
}

class WorkerThreads : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::WireProgram();
        runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
        std::lock_guard guard(g_lock);
        g_open = false;
        g_waiting = 0;
        g_passed = 0;
    }
    void TearDown() override
    {
        app::StopAllWorkers();
        EXPECT_TRUE(kernel::WaitForWorkersToEnd(10s));
        runtime::UnloadDllCommands();
    }

    static void WaitForWaiting(int count)
    {
        for (int i = 0; i < 1000 && g_waiting < count; ++i)
            std::this_thread::sleep_for(5ms);
        ASSERT_EQ(g_waiting, count);
    }
    static void OpenGate()
    {
        {
            std::lock_guard guard(g_lock);
            g_open = true;
        }
        g_signal.notify_all();
    }
};

TEST_F(WorkerThreads, AStartedWorkerRunsAtOnceWithItsParameterAndId)
{
    std::int32_t threadId = 0;
    std::int32_t thread = app::StartWorker(&WaitAtGate, 42, threadId);
    ASSERT_NE(thread, 0);
    EXPECT_NE(threadId, 0);
    WaitForWaiting(1);
    EXPECT_EQ(ExitCode(thread), STILL_ACTIVE);
    // The table's entry with no library name was found in the kernel stand-in.
    EXPECT_NE(runtime::DllCommandModule(app::kCreateThread), nullptr);

    OpenGate();
    ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(thread), 10s));
    EXPECT_EQ(ExitCode(thread), 42u);  // the routine's result
}

TEST_F(WorkerThreads, StopEndsEveryRunningWorkerNotOnlyTheLatestOfEachKind)
{
    // Parse pressed twice, download once: three workers, and the stop must
    // reach all three, with the still-active code as exit code.
    std::int32_t id = 0;
    std::vector<std::int32_t> threads;
    for (int i = 0; i < 3; ++i)
        threads.push_back(app::StartWorker(&WaitAtGate, i, id));
    WaitForWaiting(3);
    EXPECT_EQ(app::RememberedWorkerCount(), 3u);

    app::StopAllWorkers();
    for (std::int32_t thread : threads) {
        ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(thread), 10s));
        EXPECT_EQ(ExitCode(thread), STILL_ACTIVE) << "terminated with the code it had";
    }
    EXPECT_EQ(g_passed, 0);
    EXPECT_EQ(app::RememberedWorkerCount(), 0u);
}

TEST_F(WorkerThreads, StoppingAnEndedWorkerOrHandleZeroChangesNothing)
{
    app::StopWorker(0);  // nothing ever ran

    std::int32_t id = 0;
    std::int32_t thread = app::StartWorker(&WaitAtGate, 7, id);
    OpenGate();
    ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(thread), 10s));
    app::StopWorker(thread);
    EXPECT_EQ(ExitCode(thread), 7u);  // its own code stays
    app::StopAllWorkers();
    EXPECT_EQ(ExitCode(thread), 7u);
}

TEST_F(WorkerThreads, EndedWorkersAreForgottenAtTheNextStart)
{
    std::int32_t id = 0;
    std::int32_t first = app::StartWorker(&WaitAtGate, 1, id);
    OpenGate();
    ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(first), 10s));
    {
        std::lock_guard guard(g_lock);
        g_open = false;
    }
    std::int32_t second = app::StartWorker(&WaitAtGate, 2, id);
    EXPECT_NE(second, first);
    EXPECT_EQ(app::RememberedWorkerCount(), 1u);
    WaitForWaiting(2);
    app::StopAllWorkers();
    ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(second), 10s));
    EXPECT_EQ(ExitCode(second), STILL_ACTIVE);
}

// A worker whose stop lands while it holds a matcher, at a moment that is no
// stop point: the matcher's destruction then runs on the normal path, and
// its ComUninit must not throw the stop out of a destructor (which would end
// the whole program); the worker ends at its next stop point instead.
std::atomic<bool> g_plainGateOpen{false};
std::atomic<bool> g_matcherGone{false};
std::atomic<int> g_initializationsLeft{-1};

DWORD HoldMatcherPastAStop(LPVOID)
{
    {
        web::RegexMatcher matcher;
        ++g_waiting;
        while (!g_plainGateOpen)  // deaf to the stop on purpose
            std::this_thread::sleep_for(1ms);
    }
    g_matcherGone = true;
    g_initializationsLeft = com::ApartmentInitializations();
    kernel::ThrowIfStopRequested();
    ++g_passed;
    return 0;
}

TEST_F(WorkerThreads, AStopWhileAMatcherIsHeldEndsTheWorkerNotTheProgram)
{
    std::int32_t id = 0;
    std::int32_t thread = app::StartWorker(&HoldMatcherPastAStop, 0, id);
    WaitForWaiting(1);
    app::StopAllWorkers();
    g_plainGateOpen = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(AsHandle(thread), 10s));
    EXPECT_TRUE(g_matcherGone);
    EXPECT_EQ(g_initializationsLeft, 0);  // the matcher's release and ComUninit still ran
    EXPECT_EQ(g_passed, 0);  // the stop point after the matcher ended it
    EXPECT_EQ(ExitCode(thread), STILL_ACTIVE);
}

}  // namespace
