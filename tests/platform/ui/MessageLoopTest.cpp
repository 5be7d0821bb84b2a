#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/ui/UiApplication.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "platform/user/MessageBox.h"
#include "tests/platform/ui/TestWindows.h"

namespace {

using vellumry::ui::UiApplication;

TEST(MessageLoop, QuitEndsTheLoopWithItsCode)
{
    UiApplication& app = *UiApplication::Instance();
    app.ForgetQuit();
    QTimer::singleShot(0, [] { PostQuitMessage(7); });
    app.RunLoop({});
    EXPECT_TRUE(app.QuitSeen());
    EXPECT_EQ(app.QuitCode(), 7);
    app.ForgetQuit();
}

TEST(MessageLoop, QuitFromAWorkerThreadReachesTheLoop)
{
    UiApplication& app = *UiApplication::Instance();
    app.ForgetQuit();
    std::thread worker([] { PostQuitMessage(3); });
    app.RunLoop({});
    worker.join();
    EXPECT_EQ(app.QuitCode(), 3);
    app.ForgetQuit();
}

TEST(MessageLoop, IdleCountRisesUntilDoneAndRestartsAfterInput)
{
    UiApplication& app = *UiApplication::Instance();
    app.ForgetQuit();
    HWND window = vellumry::test::MakeTopLevel();
    ShowWindow(window, SW_SHOW);
    QWidget* widget = vellumry::ui::WidgetOf(window);
    std::vector<long> counts;
    bool inputSent = false;
    app.RunLoop([&](long count) {
        counts.push_back(count);
        if (count < 2)
            return true;  // more idle work
        if (!inputSent) {
            inputSent = true;
            // Input arrives while idle: the next idle period starts at 0.
            QTimer::singleShot(0, [widget] { QTest::keyClick(widget, Qt::Key_A); });
            return false;
        }
        PostQuitMessage(0);
        return false;
    });
    EXPECT_EQ(counts, (std::vector<long>{0, 1, 2, 0, 1, 2}));
    app.ForgetQuit();
    DestroyWindow(window);
}

TEST(MessageLoop, StopConditionEndsTheLoopWithoutQuit)
{
    UiApplication& app = *UiApplication::Instance();
    app.ForgetQuit();
    bool done = false;
    QTimer::singleShot(0, [&] { done = true; });
    app.RunLoop({}, [&] { return done; });
    EXPECT_TRUE(done);
    EXPECT_FALSE(app.QuitSeen());
}

TEST(MessageBoxOffscreen, ReturnsAtOnceAndStillWritesTheText)
{
    ::testing::internal::CaptureStderr();
    int answer = MessageBoxA(nullptr, "\xB4\xED", "cap", MB_OK | MB_ICONERROR);  // "错"
    std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(written, "[cap]\n错\n");
}

TEST(MessageLoop, InputThatEndsAWaitStartsANewIdlePeriodAndItsClock)
{
    using namespace std::chrono_literals;
    UiApplication& app = *UiApplication::Instance();
    app.ForgetQuit();
    HWND window = vellumry::test::MakeTopLevel();
    ShowWindow(window, SW_SHOW);
    QWidget* widget = vellumry::ui::WidgetOf(window);
    struct Call {
        long count;
        std::uint32_t elapsed;
    };
    std::vector<Call> calls;
    bool inputScheduled = false;
    constexpr auto kFirstPeriod = 300ms;
    app.RunLoop([&](long count) {
        calls.push_back({count, app.IdleMilliseconds()});
        if (!inputScheduled) {
            if (count == 0) {
                std::this_thread::sleep_for(kFirstPeriod);  // a long first idle period
                return true;
            }
            inputScheduled = true;
            // The loop has no more idle work and waits: the key press comes
            // from a timer that fires during that wait, not while it pumps.
            QTimer::singleShot(100, widget, [widget] { QTest::keyClick(widget, Qt::Key_A); });
            return false;
        }
        PostQuitMessage(0);
        return false;
    });
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].count, 0);
    EXPECT_EQ(calls[1].count, 1);
    EXPECT_GE(calls[1].elapsed, 300u);
    EXPECT_EQ(calls[2].count, 0) << "the input that woke the wait restarts the idle count";
    EXPECT_LT(calls[2].elapsed, 300u) << "the clock restarts with the new idle period";
    app.ForgetQuit();
    DestroyWindow(window);
}

}  // namespace
