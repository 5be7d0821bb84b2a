#include "sound/MusicKind.h"

#include <cstring>

namespace vellumry::sound {

MusicKind ClassifyMusic(std::span<const std::uint8_t> data)
{
    if (data.size() >= 12 && std::memcmp(data.data(), "RIFF", 4) == 0 && std::memcmp(data.data() + 8, "WAVE", 4) == 0)
        return MusicKind::Wave;
    if (data.size() > 4 && std::memcmp(data.data(), "MThd", 4) == 0)
        return MusicKind::Midi;
    return MusicKind::None;
}

}  // namespace vellumry::sound
