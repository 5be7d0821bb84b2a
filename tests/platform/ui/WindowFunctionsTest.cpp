#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <thread>

#include "platform/base/LastError.h"
#include "platform/modules/LibraryLoader.h"
#include "platform/modules/ModuleRegistry.h"
#include "platform/ui/User32Exports.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/platform/ui/TestWindows.h"

namespace {

using namespace vellumry::test;
using vellumry::ui::WidgetOf;

class WindowFunctions : public ::testing::Test {
protected:
    void SetUp() override { SeenMessages().clear(); }
    void TearDown() override
    {
        for (HWND w : m_windows)
            if (IsWindow(w))
                DestroyWindow(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    HWND Keep(HWND window)
    {
        m_windows.push_back(window);
        return window;
    }
    std::vector<HWND> m_windows;
};

TEST_F(WindowFunctions, CreationNeedsARegisteredClassAndSendsCreate)
{
    SetLastError(0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), 1407u);

    HWND top = Keep(MakeTopLevel());
    ASSERT_TRUE(IsWindow(top));
    EXPECT_EQ(SeenBy(top, WM_CREATE).size(), 1u);
    char name[64];
    EXPECT_EQ(GetClassNameA(top, name, sizeof name), 15);
    EXPECT_STREQ(name, "RecordingWindow");

    WNDCLASSA again{};
    again.lpszClassName = "recordingwindow";  // names match without case
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), 1410u);
}

TEST_F(WindowFunctions, DestroyReachesParentThenChildrenAndInvalidatesHandles)
{
    HWND top = MakeTopLevel();
    HWND child = MakeChild(top, 0, 0, 10, 10);
    HWND grandchild = MakeChild(child, 0, 0, 5, 5);
    SeenMessages().clear();
    EXPECT_TRUE(DestroyWindow(top));
    std::vector<HWND> order;
    for (const SeenMessage& m : SeenMessages())
        if (m.message == WM_DESTROY)
            order.push_back(m.window);
    EXPECT_EQ(order, (std::vector<HWND>{top, child, grandchild}));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(grandchild));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), 1400u);

    // A new window never takes an old handle.
    HWND next = Keep(MakeTopLevel());
    EXPECT_NE(next, top);
    EXPECT_NE(next, child);
    EXPECT_NE(next, grandchild);
}

TEST_F(WindowFunctions, PlacementIsReportedAfterCreateAndThenOnlyOnChange)
{
    HWND top = Keep(MakeTopLevel());
    std::vector<UINT> order;
    for (const SeenMessage& m : SeenMessages())
        if (m.window == top && (m.message == WM_CREATE || m.message == WM_MOVE || m.message == WM_SIZE))
            order.push_back(m.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_CREATE, WM_MOVE, WM_SIZE}));
    ShowWindow(top, SW_SHOWNA);
    QCoreApplication::processEvents();
    EXPECT_EQ(SeenBy(top, WM_MOVE).size(), 1u);  // showing moved nothing
    EXPECT_EQ(SeenBy(top, WM_SIZE).size(), 1u);
    RECT frame;
    GetWindowRect(top, &frame);
    MoveWindow(top, frame.left + 5, frame.top, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    QCoreApplication::processEvents();
    EXPECT_EQ(SeenBy(top, WM_MOVE).size(), 2u);
    EXPECT_EQ(SeenBy(top, WM_SIZE).size(), 1u);
}

TEST_F(WindowFunctions, VisibilityAndEnabledStateFollowTheStyleBits)
{
    HWND top = Keep(MakeTopLevel());
    HWND child = MakeChild(top, 0, 0, 10, 10);
    EXPECT_FALSE(IsWindowVisible(top));
    EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
    EXPECT_FALSE(ShowWindow(top, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(GetWindowLongA(top, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child));

    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_DISABLED);
    EXPECT_TRUE(EnableWindow(child, TRUE));  // was disabled
    // A disabled parent does not change the child's own state.
    EnableWindow(top, FALSE);
    EXPECT_TRUE(IsWindowEnabled(child));
}

TEST_F(WindowFunctions, ChildGeometryIsRelativeToTheParentClientArea)
{
    HWND top = Keep(MakeTopLevel(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 400, 300));
    HWND child = MakeChild(top, 24, 104, 759, 336, 100);
    RECT client;
    ASSERT_TRUE(GetClientRect(child, &client));
    EXPECT_EQ(client.right, 759);
    EXPECT_EQ(client.bottom, 336);
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 100);
    MoveWindow(child, -5, 7, 50, 60, TRUE);
    QWidget* widget = WidgetOf(child);
    EXPECT_EQ(widget->geometry(), QRect(-5, 7, 50, 60));
    SetWindowPos(child, nullptr, 0, 0, 8, 9, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(widget->geometry(), QRect(-5, 7, 8, 9));
    EXPECT_EQ(GetParent(child), top);
}

TEST_F(WindowFunctions, TopLevelSizeIncludesTheNominalFrame)
{
    // A fixed dialog frame with a caption: 3-pixel borders and a 23-pixel caption.
    HWND top = Keep(MakeTopLevel(WS_CAPTION | WS_SYSMENU, 815, 562));
    RECT frame;
    RECT client;
    GetWindowRect(top, &frame);
    GetClientRect(top, &client);
    EXPECT_EQ(frame.right - frame.left, 815);
    EXPECT_EQ(frame.bottom - frame.top, 562);
    EXPECT_EQ(client.right, 815 - 6);
    EXPECT_EQ(client.bottom, 562 - 6 - 23);
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.top, 20);

    HWND bare = Keep(MakeTopLevel(WS_POPUP, 100, 50));
    GetClientRect(bare, &client);
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 50);
}

TEST_F(WindowFunctions, ZOrderPlacesAWindowBelowTheOneNamed)
{
    HWND top = Keep(MakeTopLevel());
    HWND a = MakeChild(top, 0, 0, 10, 10);
    HWND b = MakeChild(top, 0, 0, 10, 10);
    HWND c = MakeChild(top, 0, 0, 10, 10);
    // Stack a on top, b below a, c below b.
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(top), a);
    EXPECT_EQ(GetNextWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetNextWindow(b, GW_HWNDNEXT), c);
    EXPECT_EQ(GetNextWindow(c, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetNextWindow(c, GW_HWNDPREV), b);
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(top), b);
}

TEST_F(WindowFunctions, ReparentingKeepsPositionAndVisibility)
{
    HWND top = Keep(MakeTopLevel());
    ShowWindow(top, SW_SHOWNA);
    HWND a = MakeChild(top, 5, 6, 10, 10);
    HWND b = MakeChild(top, 30, 40, 10, 10);
    EXPECT_EQ(SetParent(b, a), top);
    EXPECT_EQ(GetParent(b), a);
    EXPECT_EQ(WidgetOf(b)->pos(), QPoint(30, 40));
    EXPECT_TRUE(IsWindowVisible(b));
}

TEST_F(WindowFunctions, WindowTextIsKeptAsGbk)
{
    HWND top = Keep(MakeTopLevel());
    EXPECT_TRUE(SetWindowTextA(top, "\xCF\xC2\xD4\xD8"));  // "下载"
    char text[16];
    EXPECT_EQ(GetWindowTextA(top, text, sizeof text), 4);
    EXPECT_STREQ(text, "\xCF\xC2\xD4\xD8");
    EXPECT_EQ(WidgetOf(top)->windowTitle(), QString::fromUtf8("下载"));
    char small[3];
    EXPECT_EQ(GetWindowTextA(top, small, sizeof small), 2);
}

TEST_F(WindowFunctions, QtCloseBecomesACloseMessageWhoseDefaultDestroys)
{
    HWND top = Keep(MakeTopLevel());
    ShowWindow(top, SW_SHOWNA);
    WidgetOf(top)->close();
    EXPECT_EQ(SeenBy(top, WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(WindowFunctions, SendMessageFromAnotherThreadRunsOnTheWindowThread)
{
    static DWORD handledOn = 0;
    WNDCLASSA windowClass{};
    windowClass.lpszClassName = "ThreadProbe";
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER + 7) {
            handledOn = GetCurrentThreadId();
            return static_cast<LRESULT>(wp + 1);
        }
        return DefWindowProcA(w, m, wp, lp);
    };
    RegisterClassA(&windowClass);
    HWND window = Keep(CreateWindowExA(0, "ThreadProbe", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    DWORD mainThread = GetCurrentThreadId();
    LRESULT answer = 0;
    std::thread worker([&] { answer = SendMessageA(window, WM_USER + 7, 41, 0); });
    // The window thread must keep pumping for the worker's request to run.
    while (answer == 0)
        QCoreApplication::processEvents();
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(handledOn, mainThread);
}

TEST_F(WindowFunctions, PostedMessagesArriveLaterAndNotAfterDestruction)
{
    HWND top = Keep(MakeTopLevel());
    HWND gone = MakeTopLevel();
    EXPECT_TRUE(PostMessageA(top, WM_USER + 1, 5, 6));
    EXPECT_TRUE(PostMessageA(gone, WM_USER + 1, 0, 0));
    DestroyWindow(gone);
    EXPECT_TRUE(SeenBy(top, WM_USER + 1).empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(SeenBy(top, WM_USER + 1).size(), 1u);
    EXPECT_EQ(SeenBy(top, WM_USER + 1)[0].wParam, 5u);
    EXPECT_TRUE(SeenBy(gone, WM_USER + 1).empty());
    EXPECT_FALSE(PostMessageA(gone, WM_USER + 1, 0, 0));
}

TEST_F(WindowFunctions, User32ExportsResolveByNameWithTheirTypes)
{
    vellumry::ui::RegisterUser32Exports();
    HMODULE user32 = LoadLibraryA("User32.dll");
    ASSERT_NE(user32, nullptr);
    FARPROC send = GetProcAddress(user32, "SendMessageA");
    ASSERT_NE(send, nullptr);
    EXPECT_TRUE(vellumry::modules::SignaturesMatch(vellumry::modules::SignatureOf<LRESULT(HWND, UINT, WPARAM, LPARAM)>(),
                                                   vellumry::modules::FindExportSignature(send)));
    HWND top = Keep(MakeTopLevel());
    auto typed = reinterpret_cast<LRESULT (*)(HWND, UINT, WPARAM, LPARAM)>(send);
    typed(top, WM_USER + 9, 1, 2);
    EXPECT_EQ(SeenBy(top, WM_USER + 9).size(), 1u);
    FreeLibrary(user32);
}

class CountingObject : public vellumry::ui::WindowObject {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 3)
            return 99;
        if (message == WM_DESTROY)
            ++destroys;
        return WindowObject::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++finals; }
    int destroys = 0;
    int finals = 0;
};

TEST_F(WindowFunctions, AttachedObjectsTakeMessagesUntilTheWindowIsGone)
{
    HWND top = MakeTopLevel();
    CountingObject object;
    ASSERT_TRUE(object.Attach(top));
    EXPECT_EQ(vellumry::ui::WindowObject::FromHandle(top), &object);
    CountingObject second;
    EXPECT_FALSE(second.Attach(top));  // one object per window
    EXPECT_EQ(SendMessageA(top, WM_USER + 3, 0, 0), 99);
    DestroyWindow(top);
    EXPECT_EQ(object.destroys, 1);
    EXPECT_EQ(object.finals, 1);
    EXPECT_EQ(object.Handle(), nullptr);

    HWND other = Keep(MakeTopLevel());
    ASSERT_TRUE(second.Attach(other));
    EXPECT_EQ(second.Detach(), other);
    EXPECT_EQ(vellumry::ui::WindowObject::FromHandle(other), nullptr);
    EXPECT_TRUE(IsWindow(other));  // the window lives on without an object
}

}  // namespace
