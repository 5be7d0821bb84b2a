#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/ui/UiApplication.h"
#include "platform/ui/WindowObject.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/platform/ui/TestWindows.h"

namespace {

using vellumry::ui::WidgetOf;
using vellumry::ui::WindowObject;

// Records what it is offered; consumes the keys it is told to.
class KeyWatcher : public WindowObject {
public:
    bool PreTranslateMessage(MSG& message) override
    {
        offered.push_back(message);
        return message.message == WM_KEYDOWN && message.wParam == consume;
    }
    std::vector<MSG> offered;
    WPARAM consume = 0;
};

class PreTranslate : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_top = vellumry::test::MakeTopLevel();
        m_child = vellumry::test::MakeChild(m_top, 0, 0, 50, 20);
        ShowWindow(m_top, SW_SHOW);
        m_watcher.Attach(m_top);
        WidgetOf(m_child)->setFocusPolicy(Qt::StrongFocus);
    }
    void TearDown() override
    {
        DestroyWindow(m_top);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    HWND m_top = nullptr;
    HWND m_child = nullptr;
    KeyWatcher m_watcher;
};

TEST_F(PreTranslate, KeysForAChildReachTheParentsObjectFirstAndOnce)
{
    QWidget* child = WidgetOf(m_child);
    // The child widget ignores keys, so Qt passes the event up to the parent.
    QTest::keyPress(child, Qt::Key_Tab, Qt::ShiftModifier);
    // The simulated Shift press comes first; the Tab press is offered once.
    std::vector<MSG> downs;
    for (const MSG& m : m_watcher.offered)
        if (m.message == WM_KEYDOWN && m.wParam != VK_SHIFT)
            downs.push_back(m);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, m_child);  // addressed to the child
    EXPECT_EQ(downs[0].wParam, VK_TAB);
}

TEST_F(PreTranslate, AConsumedKeyNeverReachesTheWidget)
{
    struct KeyCounter : QObject {
        int keys = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++keys;
            return false;
        }
    } counter;
    QWidget* child = WidgetOf(m_child);
    child->installEventFilter(&counter);
    m_watcher.consume = VK_ESCAPE;
    QTest::keyClick(child, Qt::Key_Escape);
    EXPECT_EQ(counter.keys, 0);
    QTest::keyClick(child, Qt::Key_F1);
    EXPECT_EQ(counter.keys, 1);
    child->removeEventFilter(&counter);
}

TEST_F(PreTranslate, AltLettersComeAsSystemKeysAndMouseAsClientPoints)
{
    QWidget* child = WidgetOf(m_child);
    QTest::keyClick(child, Qt::Key_S, Qt::AltModifier);
    QTest::mouseClick(child, Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));
    bool sawAlt = false;
    bool sawMouse = false;
    for (const MSG& m : m_watcher.offered) {
        if (m.message == WM_SYSKEYDOWN && m.wParam == 'S') {
            sawAlt = true;
            EXPECT_TRUE(m.lParam & (1 << 29));
        }
        if (m.message == WM_LBUTTONDOWN && m.hwnd == m_child) {
            sawMouse = true;
            EXPECT_EQ(m.lParam & 0xFFFF, 7);
            EXPECT_EQ((m.lParam >> 16) & 0xFFFF, 9);
        }
    }
    EXPECT_TRUE(sawAlt);
    EXPECT_TRUE(sawMouse);
}

TEST_F(PreTranslate, KeysOfAnotherTopLevelWidgetNeverReachTheWindowBeneath)
{
    // A context menu, a popup, a dialog (a folder chooser is one) and a plain
    // window: each has the form's widget as its Qt parent, but is a top-level
    // window of its own. Its keys are its own, as user32 stops the offer at
    // the top-level window.
    QWidget* form = WidgetOf(m_top);
    std::vector<std::unique_ptr<QWidget>> others;
    others.push_back(std::make_unique<QMenu>(form));
    others.push_back(std::make_unique<QWidget>(form, Qt::Popup));
    others.push_back(std::make_unique<QDialog>(form));
    others.push_back(std::make_unique<QWidget>(form, Qt::Window));
    for (auto& other : others) {
        auto* field = new QLineEdit(other.get());  // owned by `other`
        other->show();
        QTest::keyClick(other.get(), Qt::Key_Escape);
        QTest::keyClick(field, Qt::Key_Escape);
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::keyClick(field, Qt::Key_S, Qt::AltModifier);
        QTest::mouseClick(field, Qt::LeftButton);
        other->hide();
        EXPECT_TRUE(m_watcher.offered.empty())
            << other->metaObject()->className() << " offered " << m_watcher.offered.size() << " messages, the first "
            << std::hex << m_watcher.offered.front().message << " " << m_watcher.offered.front().wParam;
        m_watcher.offered.clear();
    }
    // The form's own keys still come.
    QTest::keyClick(WidgetOf(m_child), Qt::Key_Escape);
    EXPECT_FALSE(m_watcher.offered.empty());
}

}  // namespace
