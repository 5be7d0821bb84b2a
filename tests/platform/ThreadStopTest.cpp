#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/base/LastError.h"
#include "platform/kernel/FileCommitGuard.h"
#include "platform/kernel/FileReplacement.h"
#include "platform/kernel/StopAwareWait.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/kernel/ThreadStop.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry;
using namespace std::chrono_literals;

constexpr auto kLongEnough = 10s;

// Runs `body` on a worker made by CreateThread and returns its handle.
template <typename Body>
HANDLE StartWorker(Body& body)
{
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            (*static_cast<Body*>(parameter))();
            return 0;
        },
        &body, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    return thread;
}

void SpinUntil(const std::atomic<bool>& flag)
{
    while (!flag.load())
        std::this_thread::yield();
}

TEST(ThreadStop, ThreadsNotStartedByCreateThreadAreNeverStopped)
{
    EXPECT_FALSE(kernel::CurrentThreadStopRequested());
    EXPECT_NO_THROW(kernel::ThrowIfStopRequested());
    kernel::FileCommitGuard commit;
    EXPECT_TRUE(commit.MayCommit());

    std::mutex mutex;
    std::condition_variable condition;
    bool done = false;
    std::thread helper([&] {
        std::lock_guard guard(mutex);
        done = true;
        condition.notify_all();
    });
    EXPECT_EQ(kernel::WaitUnlessStopped(mutex, condition, [&] { return done; }), kernel::WaitOutcome::Done);
    helper.join();
}

TEST(ThreadStop, AStopWakesAStopAwareWaitAndAMetConditionWinsOverAStop)
{
    std::mutex mutex;
    std::condition_variable condition;
    bool done = false;
    std::atomic<bool> waiting{false};
    std::atomic<int> outcome{-1};
    auto body = [&] {
        waiting = true;
        outcome = static_cast<int>(kernel::WaitUnlessStopped(mutex, condition, [&] { return done; }));
        // Met before the second wait starts: Done even though stopped.
        outcome = outcome * 10 + static_cast<int>(kernel::WaitUnlessStopped(mutex, condition, [] { return true; }));
    };
    HANDLE thread = StartWorker(body);
    SpinUntil(waiting);
    EXPECT_TRUE(TerminateThread(thread, 1));
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(outcome.load(), static_cast<int>(kernel::WaitOutcome::Stopped) * 10 +
                                  static_cast<int>(kernel::WaitOutcome::Done));
}

TEST(ThreadStop, AStoppedWorkerUnwindsAtItsNextStopPointButNotWhileAlreadyUnwinding)
{
    std::atomic<bool> ready{false};
    std::atomic<bool> stopped{false};
    std::atomic<bool> destructorChecked{false};
    std::atomic<bool> reachedAfter{false};
    auto body = [&] {
        struct CheckWhileUnwinding {
            std::atomic<bool>& checked;
            ~CheckWhileUnwinding()
            {
                kernel::ThrowIfStopRequested();  // must not throw a second exception
                checked = true;
            }
        } check{destructorChecked};
        ready = true;
        SpinUntil(stopped);
        kernel::ThrowIfStopRequested();
        reachedAfter = true;
    };
    HANDLE thread = StartWorker(body);
    SpinUntil(ready);
    EXPECT_TRUE(TerminateThread(thread, 2));
    stopped = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_FALSE(reachedAfter.load());
    EXPECT_TRUE(destructorChecked.load());
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 2u);
}

TEST(ThreadStop, DeferredStopPointsLetADestructorOnTheNormalPathFinish)
{
    std::atomic<bool> ready{false};
    std::atomic<bool> stopped{false};
    std::atomic<int> releasedSteps{0};
    std::atomic<bool> reachedAfter{false};
    auto body = [&] {
        {
            // Releases in two steps, each a stop point, on the normal path.
            struct Releaser {
                std::atomic<int>& steps;
                ~Releaser()
                {
                    kernel::StopPointsDeferred deferred;
                    {
                        kernel::StopPointsDeferred nested;
                        kernel::ThrowIfStopRequested();
                        ++steps;
                    }
                    kernel::ThrowIfStopRequested();  // the outer deferral still holds
                    ++steps;
                }
            } releaser{releasedSteps};
            ready = true;
            SpinUntil(stopped);
        }
        kernel::ThrowIfStopRequested();  // no deferral left: unwinds here
        reachedAfter = true;
    };
    HANDLE thread = StartWorker(body);
    SpinUntil(ready);
    EXPECT_TRUE(TerminateThread(thread, 3));
    stopped = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(releasedSteps.load(), 2);
    EXPECT_FALSE(reachedAfter.load());
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 3u);
}

TEST(ThreadStop, ACommitUnderWayFinishesBeforeTheStopReturnsAndALaterOneIsRefused)
{
    std::atomic<bool> holding{false};
    std::atomic<bool> committed{false};
    std::atomic<bool> stopDone{false};
    std::atomic<bool> secondAllowed{true};
    auto body = [&] {
        {
            kernel::FileCommitGuard commit;
            EXPECT_TRUE(commit.MayCommit());
            holding = true;
            // Long enough that a stop which did not wait for the commit
            // would return first.
            std::this_thread::sleep_for(50ms);
            committed = true;
        }
        SpinUntil(stopDone);
        kernel::FileCommitGuard second;
        secondAllowed = second.MayCommit();
    };
    HANDLE thread = StartWorker(body);
    SpinUntil(holding);
    EXPECT_TRUE(TerminateThread(thread, 1));
    EXPECT_TRUE(committed.load()) << "the stop returned in the middle of a commit";
    stopDone = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_FALSE(secondAllowed.load());
}

TEST(ThreadStop, AStoppedWorkerWritesNoFileAndLeavesNoTemporaryBehind)
{
    test::ScopedTempDir folder;
    std::string fresh = folder.File("fresh.jpg");
    std::string kept = folder.Write("kept.jpg", "old");
    std::atomic<bool> ready{false};
    std::atomic<bool> stopped{false};
    std::atomic<int> freshResult{-1};
    std::atomic<int> keptResult{-1};
    std::atomic<DWORD> error{0};
    auto body = [&] {
        ready = true;
        SpinUntil(stopped);
        static const std::uint8_t bytes[] = {'n', 'e', 'w'};
        std::span<const std::uint8_t> piece(bytes);
        SetLastError(0xdeadbeef);
        freshResult = kernel::ReplaceFileContents(fresh.c_str(), std::span(&piece, 1));
        error = GetLastError();
        keptResult = kernel::ReplaceFileContents(kept.c_str(), std::span(&piece, 1));
    };
    HANDLE thread = StartWorker(body);
    SpinUntil(ready);
    EXPECT_TRUE(TerminateThread(thread, 1));
    stopped = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_EQ(freshResult.load(), FALSE);
    EXPECT_EQ(keptResult.load(), FALSE);
    EXPECT_EQ(error.load(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(test::ReadHostFile(kept), "old") << "the existing file keeps its content";
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file left";

    // The same write on a thread nobody stopped goes through.
    static const std::uint8_t bytes[] = {'n', 'e', 'w'};
    std::span<const std::uint8_t> piece(bytes);
    EXPECT_TRUE(kernel::ReplaceFileContents(fresh.c_str(), std::span(&piece, 1)));
    EXPECT_EQ(test::ReadHostFile(fresh), "new");
}

std::atomic<int> g_listenerCalls{0};

TEST(ThreadStop, ListenersHearEachStopOnce)
{
    kernel::AddStopListener([] { g_listenerCalls.fetch_add(1); });
    int before = g_listenerCalls.load();
    std::atomic<bool> release{false};
    auto body = [&] { SpinUntil(release); };
    HANDLE thread = StartWorker(body);
    EXPECT_TRUE(TerminateThread(thread, 1));
    EXPECT_EQ(g_listenerCalls.load(), before + 1);
    EXPECT_TRUE(TerminateThread(thread, 1));
    EXPECT_EQ(g_listenerCalls.load(), before + 1) << "a second stop of the same thread is no new stop";
    release = true;
    ASSERT_TRUE(kernel::WaitForThreadEnd(thread, kLongEnough));
    EXPECT_TRUE(TerminateThread(thread, 1));
    EXPECT_EQ(g_listenerCalls.load(), before + 1) << "nor is a stop of an ended thread";
}

}  // namespace
