// Pictures of windows: a window that draws nothing where nobody sees it is
// still drawn whole into its picture, and every window on it hears first
// that it is about to be drawn.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/platform/ui/TestWindows.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry::test;
using vellumry::ui::WidgetOf;

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A shown top-level window with a red background and a blue child on it.
std::pair<HWND, HWND> MakeColouredWindow()
{
    HWND window = MakeTopLevel(WS_OVERLAPPED | WS_VISIBLE, 120, 80);
    HWND child = MakeChild(window, 10, 10, 40, 30);
    for (auto [handle, colour] : {std::pair{window, Qt::red}, std::pair{child, Qt::blue}}) {
        QWidget* widget = WidgetOf(handle);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
    return {window, child};
}

void PumpFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(WindowSnapshot, AWindowThatDrawsNothingUnseenIsDrawnWholeIntoItsPicture)
{
    SeenMessages().clear();
    auto [drawn, drawnChild] = MakeColouredWindow();
    vellumry::ui::SkipUnseenDrawing(true);
    auto [undrawn, undrawnChild] = MakeColouredWindow();
    vellumry::ui::SkipUnseenDrawing(false);

    PaintCounter drawnPaints, undrawnPaints;
    WidgetOf(drawn)->installEventFilter(&drawnPaints);
    WidgetOf(undrawn)->installEventFilter(&undrawnPaints);
    InvalidateRect(drawn, nullptr, TRUE);
    InvalidateRect(undrawn, nullptr, TRUE);
    PumpFor(100);
    EXPECT_GT(drawnPaints.paints, 0);
    EXPECT_EQ(undrawnPaints.paints, 0) << "nobody sees the window: it draws nothing";

    ScopedTempDir dir;
    ASSERT_TRUE(vellumry::ui::RenderWindowToPng(drawn, dir.File("drawn.png").c_str()));
    ASSERT_TRUE(vellumry::ui::RenderWindowToPng(undrawn, dir.File("undrawn.png").c_str()));
    const std::string picture = ReadHostFile(dir.File("drawn.png"));
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(ReadHostFile(dir.File("undrawn.png")), picture) << "the same picture, children included";
    undrawnPaints.paints = 0;  // the picture was drawn by paint events of its own
    InvalidateRect(undrawn, nullptr, TRUE);
    PumpFor(50);
    EXPECT_EQ(undrawnPaints.paints, 0) << "and the window draws nothing again after it";

    // Every window on the pictured one heard first that it would be drawn.
    for (HWND window : {drawn, drawnChild, undrawn, undrawnChild})
        EXPECT_EQ(SeenBy(window, vellumry::ui::kMessageBeforeSnapshot).size(), 1u);
    DestroyWindow(drawn);
    DestroyWindow(undrawn);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
