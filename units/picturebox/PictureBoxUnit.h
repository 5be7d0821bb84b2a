#pragma once

// The picture box unit: a child window that fills itself with its background
// colour and shows one picture, at its own size from the top left (mode 0),
// stretched over the client area (mode 1) or centred and, when too large,
// scaled down keeping its aspect (mode 2). An animated GIF is played by an
// animator whose thread only posts a message to the window: the unit stops
// the animator before the picture or the animation setting changes, and
// before the unit itself goes. It reaches the runtime through the units'
// host only. Window thread only.

#include <QPointer>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/picture/PreparedPicture.h"
#include "units/picturebox/BoxPicture.h"
#include "units/picturebox/PictureBoxProperties.h"

class QPainter;

namespace vellumry::units {
class PictureBoxWidget;
}

namespace vellumry::units {

class CPicBoxUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CPicBoxUnit* Create(const CreateArguments& arguments);
    ~CPicBoxUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Paints the whole window: border, background and picture.
    void Paint(QPainter& painter);

    const PictureBoxProperties& Properties() const { return m_properties; }
    // Whether a GIF animation is playing now.
    bool Animating() const;
    const BoxPicture& Picture() const { return m_picture; }

    static const char* ClassName();
    // Posted by the animator's thread after each new frame.
    static constexpr UINT kMessageNextFrame = WM_USER + 0x50;

private:
    explicit CPicBoxUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);
    // Drops the picture (stopping any animation) and decodes it anew with
    // the animation flag in force.
    void LoadPicture();
    void StartAnimation();

    PictureBoxProperties m_properties;
    // The window's widget, which Qt deletes later than this object goes.
    QPointer<PictureBoxWidget> m_widget;
    bool m_creationFlag = false;
    bool m_animateInForce = false;
    BoxPicture m_picture;
    // The still picture prepared over the background colour it was last
    // painted with; dropped with the picture.
    std::optional<PreparedPicture> m_prepared;
    std::int32_t m_preparedOver = 0;
};

}  // namespace vellumry::units
