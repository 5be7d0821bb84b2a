#pragma once

// The widget of a status bar: hands painting and tips to its unit.

#include <QWidget>

namespace vellumry::units {

class CStatusBarUnit;

class StatusBarWidget : public QWidget {
public:
    StatusBarWidget(CStatusBarUnit& unit, QWidget* parent);
    // The unit goes before the widget; the widget then paints nothing.
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    // Resizes of the parent re-align the bar.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CStatusBarUnit* m_unit;
};

}  // namespace vellumry::units
