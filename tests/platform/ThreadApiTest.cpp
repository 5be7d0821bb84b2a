#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/KernelExports.h"
#include "platform/kernel/ScopedHandle.h"
#include "platform/kernel/StopAwareWait.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/kernel/ThreadStop.h"
#include "platform/modules/ExportSignature.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry;
using namespace std::chrono_literals;

constexpr auto kLongEnough = 10s;

// A gate a worker waits at until the test opens it; the wait is stop-aware,
// so a stopped worker leaves it by unwinding.
struct Gate {
    std::mutex lock;
    std::condition_variable signal;
    bool open = false;
    std::atomic<int> arrived{0};

    void Open()
    {
        {
            std::lock_guard guard(lock);
            open = true;
        }
        signal.notify_all();
    }

    // Waits at the gate; unwinds the worker when it is stopped meanwhile.
    void Pass()
    {
        arrived.fetch_add(1);
        if (kernel::WaitUnlessStopped(lock, signal, [this] { return open; }) == kernel::WaitOutcome::Stopped)
            throw kernel::ThreadStopped{};
    }

    void WaitForArrivals(int count)
    {
        while (arrived.load() < count)
            std::this_thread::yield();
    }
};

DWORD PassGateAndReturn7(LPVOID parameter)
{
    static_cast<Gate*>(parameter)->Pass();
    return 7;
}

DWORD ExitCodeOf(HANDLE thread)
{
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    return code;
}

TEST(ThreadApi, RunsTheRoutineWithItsParameterAndAnswersStillActiveUntilItReturns)
{
    struct Seen {
        std::atomic<DWORD> threadId{0};
        Gate gate;
    } seen;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* seen = static_cast<Seen*>(parameter);
            seen->threadId = static_cast<DWORD>(syscall(SYS_gettid));
            seen->gate.Pass();
            return 42;
        },
        &seen, 0, &threadId);
    ASSERT_NE(thread, nullptr);
    seen.gate.WaitForArrivals(1);
    EXPECT_EQ(ExitCodeOf(thread), STILL_ACTIVE);
    EXPECT_EQ(threadId, seen.threadId.load()) << "the identifier is the thread's own";
    EXPECT_NE(threadId, static_cast<DWORD>(syscall(SYS_gettid)));

    seen.gate.Open();
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(ExitCodeOf(thread), 42u);
    EXPECT_EQ(ExitCodeOf(thread), 42u) << "the handle stays valid after the end";
    EXPECT_TRUE(TerminateThread(thread, 5)) << "stopping an ended thread does nothing";
    EXPECT_EQ(ExitCodeOf(thread), 42u);
}

TEST(ThreadApi, ANullThreadIdentifierIsAllowed)
{
    Gate gate;
    gate.Open();
    HANDLE thread = CreateThread(nullptr, 0, PassGateAndReturn7, &gate, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(ExitCodeOf(thread), 7u);
}

TEST(ThreadApi, AStackSizeIsHonouredAndAnImpossibleOneFailsTheStart)
{
    Gate gate;
    gate.Open();
    HANDLE small = CreateThread(nullptr, 64 * 1024, PassGateAndReturn7, &gate, 0, nullptr);
    ASSERT_NE(small, nullptr);
    ASSERT_TRUE(kernel::WaitForThreadEnd(small, kLongEnough));
    EXPECT_EQ(ExitCodeOf(small), 7u);

    std::atomic<bool> ran{false};
    SetLastError(0xdeadbeef);
    SIZE_T impossible = std::numeric_limits<SIZE_T>::max() / 2;
    HANDLE failed = CreateThread(
        nullptr, impossible,
        [](LPVOID parameter) -> DWORD {
            static_cast<std::atomic<bool>*>(parameter)->store(true);
            return 0;
        },
        &ran, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u) << "a failed start leaves no worker behind";
    EXPECT_FALSE(ran.load());
}

TEST(ThreadApi, RefusesWhatItCannotStart)
{
    Gate gate;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateThread(nullptr, 0, PassGateAndReturn7, &gate, CREATE_SUSPENDED, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(ThreadApi, ZeroClosedAndForeignHandlesFailWithInvalidHandle)
{
    test::ScopedTempDir folder;
    HANDLE file = CreateFileA(folder.File("f.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    kernel::ScopedHandle fileScope(file);

    Gate gate;
    gate.Open();
    HANDLE closed = CreateThread(nullptr, 0, PassGateAndReturn7, &gate, 0, nullptr);
    ASSERT_NE(closed, nullptr);
    ASSERT_TRUE(kernel::WaitForThreadEnd(closed, kLongEnough));
    ASSERT_TRUE(CloseHandle(closed));

    for (HANDLE handle : {static_cast<HANDLE>(nullptr), closed, file, reinterpret_cast<HANDLE>(0x7fff1234)}) {
        DWORD code = 12345;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(GetExitCodeThread(handle, &code)) << handle;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE) << handle;
        EXPECT_EQ(code, 12345u) << "nothing written for " << handle;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(TerminateThread(handle, 259)) << handle;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE) << handle;
        EXPECT_FALSE(kernel::WaitForThreadEnd(handle, 0ms)) << handle;
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "x", 1, &written, nullptr)) << "the file was left alone";
}

TEST(ThreadApi, TerminateReturnsAtOnceAndTheWorkerUnwindsWithTheStopCode)
{
    struct State {
        Gate gate;
        std::atomic<bool> releasedOnTheWay{false};
        std::atomic<bool> ranPastTheGate{false};
    } state;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* state = static_cast<State*>(parameter);
            struct Owner {
                std::atomic<bool>& released;
                ~Owner() { released = true; }
            } owner{state->releasedOnTheWay};
            state->gate.Pass();  // never opened
            state->ranPastTheGate = true;
            return 1;
        },
        &state, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    state.gate.WaitForArrivals(1);

    EXPECT_TRUE(TerminateThread(thread, STILL_ACTIVE));
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(ExitCodeOf(thread), STILL_ACTIVE) << "the stop's code, as the program's stop button passes it";
    EXPECT_TRUE(state.releasedOnTheWay.load()) << "unwinding runs the destructors";
    EXPECT_FALSE(state.ranPastTheGate.load());
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
}

TEST(ThreadApi, TheFirstStopCodeStaysAndAStopWithoutStopPointsStillSetsTheCode)
{
    struct State {
        std::atomic<bool> stopped{false};
        std::atomic<bool> go{false};
    } state;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* state = static_cast<State*>(parameter);
            while (!state->go.load())
                std::this_thread::yield();
            state->stopped = kernel::CurrentThreadStopRequested();
            return 9;  // returns normally: it never reaches a stop point
        },
        &state, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(TerminateThread(thread, 3));
    EXPECT_TRUE(TerminateThread(thread, 4));
    state.go = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_TRUE(state.stopped.load());
    EXPECT_EQ(ExitCodeOf(thread), 3u);
}

TEST(ThreadApi, AThreadThatStopsItselfUnwindsAtOnce)
{
    struct State {
        HANDLE self = nullptr;
        Gate started;
        std::atomic<bool> returned{false};
    } state;
    state.self = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* state = static_cast<State*>(parameter);
            state->started.Pass();
            TerminateThread(state->self, 77);
            state->returned = true;
            return 0;
        },
        &state, 0, nullptr);
    ASSERT_NE(state.self, nullptr);
    state.started.Open();
    ASSERT_TRUE(kernel::WaitForThreadEnd(state.self, kLongEnough));
    EXPECT_FALSE(state.returned.load());
    EXPECT_EQ(ExitCodeOf(state.self), 77u);
}

TEST(ThreadApi, StopAllWorkersEndsEveryWaitingWorker)
{
    constexpr int kWorkers = 6;
    Gate gate;
    std::vector<HANDLE> threads;
    for (int i = 0; i < kWorkers; ++i) {
        threads.push_back(CreateThread(nullptr, 0, PassGateAndReturn7, &gate, 0, nullptr));
        ASSERT_NE(threads.back(), nullptr);
    }
    gate.WaitForArrivals(kWorkers);
    EXPECT_EQ(kernel::LiveWorkerCount(), static_cast<std::size_t>(kWorkers));
    EXPECT_FALSE(kernel::WaitForWorkersToEnd(0ms));

    kernel::StopAllWorkers(1);
    EXPECT_TRUE(kernel::WaitForWorkersToEnd(kLongEnough));
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
    for (HANDLE thread : threads)
        EXPECT_EQ(ExitCodeOf(thread), 1u);
}

// Stops land at random moments of workers that run through stop points in a
// loop: each worker ends, with the stop's code, and none is left.
TEST(ThreadApi, StopsAtRandomMomentsAlwaysEndTheWorker)
{
    constexpr int kRounds = 200;
    std::mt19937 random(12345);
    std::atomic<long> work{0};
    for (int round = 0; round < kRounds; ++round) {
        HANDLE thread = CreateThread(
            nullptr, 0,
            [](LPVOID parameter) -> DWORD {
                auto* work = static_cast<std::atomic<long>*>(parameter);
                for (;;) {
                    kernel::ThrowIfStopRequested();
                    work->fetch_add(1, std::memory_order_relaxed);
                }
            },
            &work, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 200));
        ASSERT_TRUE(TerminateThread(thread, 259));
        ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough)) << "round " << round;
        ASSERT_EQ(ExitCodeOf(thread), 259u);
        CloseHandle(thread);
    }
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
}

TEST(ThreadApi, ThreadFunctionsAreKernel32ExportsWithTheirTypes)
{
    kernel::RegisterKernelExports();
    HMODULE kernel32 = LoadLibraryA("Kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    struct Expected {
        const char* name;
        FARPROC address;
        modules::ExportSignature signature;
    };
    for (const Expected& e : {
             Expected{"CreateThread", reinterpret_cast<FARPROC>(&CreateThread),
                      modules::SignatureOf<decltype(CreateThread)>()},
             Expected{"GetExitCodeThread", reinterpret_cast<FARPROC>(&GetExitCodeThread),
                      modules::SignatureOf<decltype(GetExitCodeThread)>()},
             Expected{"TerminateThread", reinterpret_cast<FARPROC>(&TerminateThread),
                      modules::SignatureOf<decltype(TerminateThread)>()},
         }) {
        FARPROC found = GetProcAddress(kernel32, e.name);
        EXPECT_EQ(found, e.address) << e.name;
        EXPECT_TRUE(modules::SignaturesMatch(e.signature, modules::FindExportSignature(found))) << e.name;
    }
    FreeLibrary(kernel32);
}

}  // namespace
