#pragma once

// The button unit: a push button with a caption (several lines when it does
// not fit one) or a picture, aligned by its two alignment properties, drawn
// with a thick frame when it is the form's default button. A click raises
// event 0, gaining and losing the focus events -7 and -8. It reaches the
// runtime through the units' host only. Window thread only.

#include <QColor>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/button/ButtonProperties.h"
#include "units/picture/PreparedPicture.h"

class QPainter;

namespace vellumry::units {

class ButtonWidget;

class CButtonUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CButtonUnit* Create(const CreateArguments& arguments);
    ~CButtonUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;
    // Whether the window has the default push button style.
    bool IsDefaultButton() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Raises the click event. The handler may destroy the unit.
    void OnClicked();
    // Paints the picture, or else the caption, into `contents`.
    void PaintFace(QPainter& painter, QRect contents, QColor textColour);

    const ButtonProperties& Properties() const { return m_properties; }
    // The prepared picture, when the picture property gave one.
    const PreparedPicture* Picture() const { return m_picture ? &*m_picture : nullptr; }

private:
    explicit CButtonUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);
    // The style bits the properties and the picture ask for.
    DWORD ButtonStyleBits() const;
    void ApplyStyleBits();
    void PreparePictureOfRecord();

    ButtonProperties m_properties;
    QPointer<ButtonWidget> m_widget;
    std::optional<PreparedPicture> m_picture;
};

}  // namespace vellumry::units
