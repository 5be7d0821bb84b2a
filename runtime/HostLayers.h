#pragma once

// The layers above the runtime core take part in its services through these
// hooks: the form engine (the form table, unit properties, the message loop's
// forms), the component model (initialised for the main thread) and sound
// (stopped at shutdown). The program's start-up wiring installs them once,
// before the runtime is initialised. A missing hook means the layer is absent:
// no forms, no component model, nothing playing.

#include <cstdint>

#include "runtime/ProgramHeader.h"

namespace vellumry::runtime {

struct FormEngineHooks {
    // Reads the window template and installs the form table; reports a
    // failure itself.
    void (*installTemplate)(const ProgramHeader& header) = nullptr;
    // The HostNotify entry handed to every support library.
    LibraryNotifyRoutine hostNotify = nullptr;
    // Loads the start form; reports a failure itself.
    void (*loadStartForm)(std::uint32_t formId) = nullptr;
    std::uint64_t (*readUnitProperty)(std::uint32_t formId, std::uint32_t unitId, std::int32_t index,
                                      std::int32_t subIndex) = nullptr;
    void (*writeUnitProperty)(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                              std::uint32_t low, std::uint32_t high) = nullptr;
    // Properties of unit objects held outside any form, by type tag.
    std::uint64_t (*readObjectProperty)(std::uint32_t tag, void* object, std::int32_t index,
                                        std::int32_t subIndex) = nullptr;
    void (*writeObjectProperty)(std::uint32_t tag, void* object, std::int32_t index, std::int32_t subIndex,
                                std::uint32_t low, std::uint32_t high) = nullptr;
    // True while any loaded form has a live window.
    bool (*anyLiveForm)() = nullptr;
    // One idle step for the loaded forms: each form that still wants idle
    // calls in this idle period (count 0 starts a period) gets one with the
    // milliseconds since the period began; true while any wants more.
    bool (*idleForms)(long idleCount, std::uint32_t elapsedMilliseconds) = nullptr;
    // Releases every form object (shutdown).
    void (*releaseForms)() = nullptr;
    // Destroys the program's own icons, once handed out to form windows.
    void (*releaseProgramIcons)() = nullptr;
};

struct ComponentModelHooks {
    // Initialises the component model for the calling thread; true on success.
    bool (*initialize)() = nullptr;
    void (*uninitialize)() = nullptr;
};

struct SoundHooks {
    // Plays WAV or MIDI data from memory, looped or once; false when the data
    // cannot be played.
    bool (*playMusic)(const std::uint8_t* data, std::int32_t length, bool loop) = nullptr;
    // Stops all music; with `wait`, returns when every player thread ended.
    void (*stopAllMusic)(bool wait) = nullptr;
};

void SetFormEngineHooks(const FormEngineHooks& hooks);
void SetComponentModelHooks(const ComponentModelHooks& hooks);
void SetSoundHooks(const SoundHooks& hooks);

const FormEngineHooks& FormEngine();
const ComponentModelHooks& ComponentModel();
const SoundHooks& Sound();

}  // namespace vellumry::runtime
