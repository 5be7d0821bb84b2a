#include "platform/ui/SimulatedInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {
namespace {

QWidget* ReachableWidget(HWND window)
{
    QWidget* widget = IsWindow(window) ? WidgetOf(window) : nullptr;
    if (!widget || !widget->isVisible() || !widget->isEnabled())
        return nullptr;
    return widget;
}

// The part of `widget` that takes typed keys: its focus proxy, or else the
// widget itself when it takes the focus, or else its first descendant that
// does.
QWidget* KeyTarget(QWidget* widget)
{
    while (widget->focusProxy())
        widget = widget->focusProxy();
    if (widget->focusPolicy() != Qt::NoFocus)
        return widget;
    for (QWidget* child : widget->findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus && child->isVisible() && child->isEnabled())
            return child;
    return nullptr;
}

// The key a character is typed with: the letter and digit keys share their
// codes with the upper-case letters and the digits; other characters come
// without a key code, as from an input method.
int KeyOf(char32_t character)
{
    if (character >= 'a' && character <= 'z')
        return static_cast<int>(character - 'a' + 'A');
    if (character < 0x80 && character > ' ')
        return static_cast<int>(character);
    if (character == ' ')
        return Qt::Key_Space;
    return Qt::Key_unknown;
}

void SendKey(QPointer<QWidget>& target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    if (target)
        QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    if (target)
        QApplication::sendEvent(target, &release);
}

}  // namespace

bool ClickWindow(HWND window)
{
    QWidget* widget = ReachableWidget(window);
    if (!widget)
        return false;
    QPointer<QWidget> target(widget);
    const QPointF local = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    // The press may have run a handler that destroyed the window.
    if (!target)
        return true;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    return true;
}

bool TypeIntoWindow(HWND window, std::string_view utf8)
{
    QWidget* widget = ReachableWidget(window);
    QWidget* editor = widget ? KeyTarget(widget) : nullptr;
    if (!editor)
        return false;
    QPointer<QWidget> target(editor);
    editor->setFocus(Qt::OtherFocusReason);
    SendKey(target, Qt::Key_A, Qt::ControlModifier, QString());
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (char32_t character : text.toUcs4()) {
        if (!target)
            return false;
        SendKey(target, KeyOf(character), Qt::NoModifier, QString::fromUcs4(&character, 1));
    }
    return static_cast<bool>(target);
}

}  // namespace vellumry::ui
