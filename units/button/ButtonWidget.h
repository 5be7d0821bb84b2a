#pragma once

// The widget of a button: a push button whose face (caption or picture, and
// where it sits) its unit paints, and whose clicks it hands to its unit.

#include <QPushButton>

namespace vellumry::units {

class CButtonUnit;

class ButtonWidget : public QPushButton {
public:
    ButtonWidget(CButtonUnit& unit, QWidget* parent);
    // The unit goes before the widget; the widget then paints only its frame
    // and reports no clicks.
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CButtonUnit* m_unit;
};

}  // namespace vellumry::units
