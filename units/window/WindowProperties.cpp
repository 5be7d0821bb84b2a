#include "units/window/WindowProperties.h"

namespace vellumry::units {
namespace {

using W = WindowProperties;

constexpr RecordField<W> kFields[] = {
    {"WindowBorder", &W::WindowBorder},
    {"BackPictureMode", &W::BackPictureMode},
    {"BackColour", &W::BackColour},
    {"MaxButton", &W::MaxButton},
    {"MinButton", &W::MinButton},
    {"ControlBox", &W::ControlBox},
    {"StartPosition", &W::StartPosition},
    {"CloseButton", &W::CloseButton},
    {"MusicPlayMode", &W::MusicPlayMode},
    {"EnterMovesFocus", &W::EnterMovesFocus},
    {"EscCloses", &W::EscCloses},
    {"F1Help", &W::F1Help},
    {"HelpContext", &W::HelpContext},
    {"ShowInTaskbar", &W::ShowInTaskbar, 2},
    {"DragByBody", &W::DragByBody, 3},
    {"MousePointer", &W::MousePointer, 3},
    {"AlwaysOnTop", &W::AlwaysOnTop, 4},
    {"KeepCaptionActive", &W::KeepCaptionActive, 5},
    {"WindowClassName", &W::WindowClassName, 6},
    {"BackPicture", &W::BackPicture, 0, BlockContent::Picture},
    {"WindowIcon", &W::WindowIcon, 0, BlockContent::Picture},
    {"BackMusic", &W::BackMusic, 0, BlockContent::Sound},
    {"Caption", &W::Caption},
    {"HelpFile", &W::HelpFile},
};

constexpr RecordLayout<W> kLayout{"WindowProperties", 6, kFields};

}  // namespace

template <>
const RecordLayout<WindowProperties>& LayoutOf<WindowProperties>()
{
    return kLayout;
}

}  // namespace vellumry::units
