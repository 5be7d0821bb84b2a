#pragma once

// The window unit: the top-level form window on which the other units sit.
// It paints its background (colour and picture), plays the form's background
// music while it exists, turns window messages into events and handles the
// form's keyboard (Tab, Enter, Esc, F1, Alt mnemonics) and body dragging
// (WindowInput.cpp). It reaches the runtime through the units' host only
// (units/common/UnitHost.h). Window thread only.

#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "platform/ui/ScopedIcon.h"
#include "platform/ui/WindowObject.h"
#include "units/picture/PictureCache.h"
#include "units/window/WindowProperties.h"

class QPainter;
class QRegion;
class QWidget;

namespace vellumry::sound {
class MidiPlayer;
}

namespace vellumry::units {

class CWinFormUnit : public ui::WindowObject {
public:
    struct CreateArguments {
        std::span<const std::uint8_t> record;
        DWORD baseStyle = 0;
        HWND parent = nullptr;
        RECT rect{};
        forms::FormId formId = 0;
        forms::UnitId unitId = 0;
        bool embedded = false;
    };

    // Null when the record does not load or the window cannot be made.
    static CWinFormUnit* Create(const CreateArguments& arguments);
    ~CWinFormUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& message) override;
    void PostNcDestroy() override;

    // Paints the background over `region` (client coordinates).
    void PaintBackground(QPainter& painter, const QRegion& region);

    const WindowProperties& Properties() const { return m_properties; }
    forms::FormId FormId() const { return m_formId; }
    forms::UnitId UnitId() const { return m_unitId; }

    // The class the window was registered under ("NKWindow" by default).
    static const char* DefaultClassName();

private:
    CWinFormUnit() = default;
    bool CreateWindowFor(const CreateArguments& arguments);
    void ApplyCaptionBits();
    void ApplyIcons();
    void ApplyCloseButton();
    void ApplyAlwaysOnTop();
    void ApplyMousePointer();
    void ApplyStartPosition();
    void StartMusic();
    void StopMusic();
    bool Raise(std::int32_t event, std::initializer_list<std::int32_t> arguments = {});
    bool RaiseAllowingVeto(std::int32_t event);

    // Keyboard and mouse handling.
    bool HandleKey(const MSG& message);
    bool MoveFocus(bool backwards);
    bool PressDefaultButton(HWND focused);
    bool HandleMnemonic(char key);
    bool OpenHelp();
    bool StartBodyDrag(const MSG& message);

    WindowProperties m_properties;
    forms::FormId m_formId = 0;
    forms::UnitId m_unitId = 0;
    bool m_embedded = false;
    bool m_activatedOnce = false;
    bool m_helpOpened = false;
    PictureCache m_background;  // BackPicture, decoded on first paint
    ui::ScopedIcon m_bigIcon;   // made from WindowIcon, destroyed when replaced
    ui::ScopedIcon m_smallIcon;
    bool m_playingWav = false;
    // MIDI background music plays in the window's own player, which reads
    // m_properties.BackMusic where it lies: declared after m_properties, it
    // stops before those bytes go, and StopMusic stops it before they change.
    std::unique_ptr<sound::MidiPlayer> m_midi;
};

}  // namespace vellumry::units
