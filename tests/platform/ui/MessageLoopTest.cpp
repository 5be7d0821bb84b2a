#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

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

}  // namespace
