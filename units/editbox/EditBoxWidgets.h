#pragma once

// The widgets of an edit box: the box's own window (a frame that paints the
// border and the background and lays out what is inside it), the editor
// inside it (one line, or several), and the up-down control of the spin
// modes. Each hands what happens to the unit, which decides; once the unit
// has gone they only paint. Window thread only.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

class QMenu;
class QToolButton;

namespace vellumry::units {

class CEditBoxUnit;

// The box's window.
class EditBoxFrame : public QWidget {
public:
    EditBoxFrame(CEditBoxUnit& unit, QWidget* parent);
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CEditBoxUnit* m_unit;
};

// What the two editors share: typed characters are offered to the unit
// first, the focus changes go to the unit, and the context menu is a
// pop-up of its own, outside the form, so that none of its keys reach the
// form's keyboard handling.
class EditorHooks {
public:
    explicit EditorHooks(CEditBoxUnit& unit) : m_unit(&unit) {}
    void ForgetUnit() { m_unit = nullptr; }
    // The editor's text changed.
    void TextChanged();

protected:
    // False when the box refuses the typed text; otherwise `text` is the
    // text to pass on (letter case applied).
    bool Filter(QKeyEvent& event, QString& text) const;
    void FocusIn(const QFocusEvent& event);
    void FocusOut(const QFocusEvent& event);
    static void ShowContextMenu(QMenu* menu, QPoint at);

    CEditBoxUnit* m_unit;
};

class EditLine : public QLineEdit, public EditorHooks {
public:
    EditLine(CEditBoxUnit& unit, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class EditArea : public QPlainTextEdit, public EditorHooks {
public:
    EditArea(CEditBoxUnit& unit, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// The up-down control: two arrow buttons, up a step of 1, down a step of -1.
class UpDownControl : public QWidget {
public:
    UpDownControl(CEditBoxUnit& unit, QWidget* parent);
    void ForgetUnit() { m_unit = nullptr; }
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }
    static constexpr int kWidth = 16;

private:
    CEditBoxUnit* m_unit;
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace vellumry::units
