#pragma once

// The widget of a form window: paints the window unit's background.

#include <QWidget>

namespace vellumry::units {

class CWinFormUnit;

class FormWindowWidget : public QWidget {
public:
    FormWindowWidget(CWinFormUnit& unit, QWidget* parent, Qt::WindowFlags flags);
    // The unit goes before the widget; the widget then paints nothing.
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CWinFormUnit* m_unit;
};

}  // namespace vellumry::units
