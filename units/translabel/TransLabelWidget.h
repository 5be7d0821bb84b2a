#pragma once

// The widget of a transparent label: paints nothing of its own background,
// so what lies behind it shows through, and hands the text to its unit.

#include <QWidget>

namespace vellumry::units {

class CTransLabelUnit;

class TransLabelWidget : public QWidget {
public:
    TransLabelWidget(CTransLabelUnit& unit, QWidget* parent);
    // The unit goes before the widget; the widget then paints nothing.
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CTransLabelUnit* m_unit;
};

}  // namespace vellumry::units
