#pragma once

// The window unit's stored property record (versions 0 to 6; 6 is written).

#include <cstdint>
#include <string>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct WindowProperties {
    std::int32_t WindowBorder = 2;
    std::int32_t BackPictureMode = 1;
    std::int32_t BackColour = kButtonFaceColour;
    std::int32_t MaxButton = 0;
    std::int32_t MinButton = 1;
    std::int32_t ControlBox = 1;
    std::int32_t StartPosition = 1;
    std::int32_t CloseButton = 1;
    std::int32_t MusicPlayMode = 0;
    std::int32_t EnterMovesFocus = 0;
    std::int32_t EscCloses = 1;
    std::int32_t F1Help = 0;
    std::int32_t HelpContext = 0;
    std::int32_t ShowInTaskbar = 1;      // version 2 and later
    std::int32_t DragByBody = 0;         // version 3 and later
    std::int32_t MousePointer = 0;       // version 3 and later
    std::int32_t AlwaysOnTop = 0;        // version 4 and later
    std::int32_t KeepCaptionActive = 0;  // version 5 and later
    std::string WindowClassName;         // version 6
    Bytes BackPicture;
    Bytes WindowIcon;
    Bytes BackMusic;
    std::string Caption;
    std::string HelpFile;

    bool operator==(const WindowProperties&) const = default;
};

template <>
const RecordLayout<WindowProperties>& LayoutOf<WindowProperties>();

}  // namespace vellumry::units
