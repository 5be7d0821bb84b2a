#include "platform/sound/SoundDevices.h"

#include <atomic>
#include <cstdlib>
#include <string_view>

namespace vellumry::mm {
namespace {

SoundDevices FromEnvironment()
{
    const char* value = std::getenv("VELLUMRY_SOUND");
    std::string_view name = value ? value : "";
    if (name == "null")
        return SoundDevices::Null;
    if (name == "none")
        return SoundDevices::None;
    return SoundDevices::System;
}

std::atomic<SoundDevices>& Selection()
{
    static std::atomic<SoundDevices> selection{FromEnvironment()};
    return selection;
}

}  // namespace

void SelectSoundDevices(SoundDevices devices)
{
    Selection().store(devices);
}

SoundDevices SelectedSoundDevices()
{
    return Selection().load();
}

}  // namespace vellumry::mm
