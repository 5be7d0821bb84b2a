// The order and the content of the messages that come with a window's life:
// destruction (owned windows first, a window valid through its own
// WM_DESTROY) and the messages a child window gets when its top-level window
// is shown, hidden, activated or deactivated. Each sequence is written as a
// named table and compared in one step.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/platform/ui/TestWindows.h"

namespace {

using namespace vellumry::test;
using vellumry::ui::WidgetOf;

// One message as a table row: which window (by the name the test gave it),
// the message, its wParam.
struct Row {
    std::string who;
    UINT message;
    WPARAM wParam;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << "{" << row.who << ", 0x" << std::hex << row.message << ", " << std::dec << row.wParam << "}";
}

// The messages of `kinds` that the named windows saw, in order.
std::vector<Row> Rows(const std::vector<std::pair<std::string, HWND>>& names, const std::vector<UINT>& kinds)
{
    std::vector<Row> rows;
    for (const SeenMessage& seen : SeenMessages()) {
        if (std::find(kinds.begin(), kinds.end(), seen.message) == kinds.end())
            continue;
        for (const auto& [name, window] : names)
            if (window == seen.window)
                rows.push_back({name, seen.message, seen.wParam});
    }
    return rows;
}

// What a WM_DESTROY handler could still do with its window and its child.
struct DuringDestroy {
    HWND self = nullptr;
    HWND child = nullptr;
    bool selfValid = false;
    bool childValid = false;
    std::string text;
    LRESULT answer = 0;
    int destroyAgain = 0;
};
DuringDestroy g_during;
constexpr UINT kQuestion = WM_USER + 7;

LRESULT Inspecting(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kQuestion)
        return 42;
    if (message == WM_DESTROY && window == g_during.self) {
        g_during.selfValid = IsWindow(window) != FALSE;
        g_during.childValid = IsWindow(g_during.child) != FALSE;
        char text[32] = {};
        GetWindowTextA(window, text, sizeof text);
        g_during.text = text;
        g_during.answer = SendMessageA(window, kQuestion, 0, 0);
        // Asked to go again from its own WM_DESTROY: the destruction under
        // way goes on, no second WM_DESTROY.
        DestroyWindow(window);
        ++g_during.destroyAgain;
    }
    SeenMessages().push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* InspectingClass()
{
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Inspecting;
        windowClass.lpszClassName = "InspectingWindow";
        RegisterClassA(&windowClass);
        return "InspectingWindow";
    }();
    return name;
}

class WindowLifetime : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeenMessages().clear();
        g_during = {};
    }
    // The tests destroy their windows; their widgets go here.
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(WindowLifetime, OwnedWindowsGoBeforeTheirOwnerAndChildrenAfterTheirParent)
{
    HWND owner = MakeTopLevel();
    HWND child = MakeChild(owner, 0, 0, 10, 10);
    HWND owned = CreateWindowExA(0, RecordingClassName(), "owned", WS_POPUP, 0, 0, 50, 50, owner, nullptr, nullptr,
                                 nullptr);
    HWND ownedChild = MakeChild(owned, 0, 0, 5, 5);
    ASSERT_TRUE(IsWindow(owned));
    SeenMessages().clear();
    ASSERT_TRUE(DestroyWindow(owner));
    const std::vector<Row> expected = {
        {"owned", WM_DESTROY, 0},
        {"owned child", WM_DESTROY, 0},
        {"owner", WM_DESTROY, 0},
        {"child", WM_DESTROY, 0},
    };
    EXPECT_EQ(Rows({{"owner", owner}, {"child", child}, {"owned", owned}, {"owned child", ownedChild}}, {WM_DESTROY}),
              expected);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(IsWindow(ownedChild));
}

TEST_F(WindowLifetime, AWindowStaysValidThroughItsOwnDestroyMessage)
{
    HWND top = CreateWindowExA(0, InspectingClass(), "still here", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    HWND child = MakeChild(top, 0, 0, 10, 10);
    g_during.self = top;
    g_during.child = child;
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(g_during.selfValid);
    EXPECT_TRUE(g_during.childValid) << "children go after their parent's WM_DESTROY";
    EXPECT_EQ(g_during.text, "still here");
    EXPECT_EQ(g_during.answer, 42) << "a message sent to the window from its WM_DESTROY is delivered";
    EXPECT_EQ(g_during.destroyAgain, 1);
    EXPECT_EQ(SeenBy(top, WM_DESTROY).size(), 1u);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifetime, AChildHearsOnlyOfItsOwnShowingNeverOfItsWindowsActivation)
{
    HWND top = MakeTopLevel();
    HWND child = MakeChild(top, 0, 0, 10, 10, 0, WS_CHILD);  // created hidden
    HWND visibleChild = MakeChild(top, 0, 20, 10, 10);       // created visible
    ShowWindow(child, SW_SHOWNA);
    ShowWindow(child, SW_SHOWNA);  // already visible: nothing to tell
    ShowWindow(top, SW_SHOW);
    QApplication::setActiveWindow(WidgetOf(top));
    ShowWindow(top, SW_HIDE);
    ShowWindow(child, SW_HIDE);
    const std::vector<Row> expected = {
        {"visible child", WM_SHOWWINDOW, TRUE},  // from its creation with WS_VISIBLE
        {"child", WM_SHOWWINDOW, TRUE},          // its own ShowWindow
        {"top", WM_SHOWWINDOW, TRUE},
        {"top", WM_ACTIVATE, WA_ACTIVE},
        {"top", WM_ACTIVATE, WA_INACTIVE},
        {"top", WM_SHOWWINDOW, FALSE},
        {"child", WM_SHOWWINDOW, FALSE},  // its own ShowWindow again
    };
    EXPECT_EQ(Rows({{"top", top}, {"child", child}, {"visible child", visibleChild}}, {WM_SHOWWINDOW, WM_ACTIVATE}),
              expected);
    DestroyWindow(top);
}

}  // namespace
