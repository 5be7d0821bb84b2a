#pragma once

// The widget of a picture box: hands painting to its unit.

#include <QWidget>

namespace vellumry::units {

class CPicBoxUnit;

class PictureBoxWidget : public QWidget {
public:
    PictureBoxWidget(CPicBoxUnit& unit, QWidget* parent);
    // The unit goes before the widget; the widget then paints nothing.
    void ForgetUnit() { m_unit = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CPicBoxUnit* m_unit;
};

}  // namespace vellumry::units
