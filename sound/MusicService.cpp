#include "sound/MusicService.h"

#include <mutex>
#include <new>

#include "sound/MidiPlayer.h"
#include "sound/MusicKind.h"
#include "sound/WavePlayer.h"

namespace vellumry::sound {
namespace {

struct RuntimeMusic {
    std::mutex lock;
    MidiPlayer midi;
    std::unique_ptr<PlaylistPlayer> playlist;
};

RuntimeMusic& Music()
{
    static RuntimeMusic music;
    return music;
}

// Stops the runtime's MIDI player and plays `music` in it when it loads;
// empty music (a copy there was no room for) only stops it.
void PlayRuntimeMidi(MusicBytes music, bool loop)
{
    RuntimeMusic& runtimeMusic = Music();
    std::lock_guard lock(runtimeMusic.lock);
    runtimeMusic.midi.Stop();
    try {
        if (!music.bytes.empty() && runtimeMusic.midi.Load(std::move(music), loop))
            runtimeMusic.midi.Play();
    } catch (const std::bad_alloc&) {
        // No room to load it: nothing plays, as for data that does not load.
    }
}

}  // namespace

bool PlayMusic(std::span<const std::uint8_t> data, bool loop)
{
    if (data.empty())
        return false;
    switch (ClassifyMusic(data)) {
    case MusicKind::Wave:
        return PlayWaveCopy(data, loop);
    case MusicKind::Midi: {
        MusicBytes copy;
        try {
            copy = MusicBytes::CopyOf(data);
        } catch (const std::bad_alloc&) {
            // No room for the copy: the player only stops.
        }
        PlayRuntimeMidi(std::move(copy), loop);
        return true;
    }
    case MusicKind::None:
        break;
    }
    return false;
}

bool PlayMusic(MusicBytes music, bool loop)
{
    if (music.bytes.empty())
        return false;
    switch (ClassifyMusic(music.bytes)) {
    case MusicKind::Wave:
        return PlayWave(std::move(music), loop);
    case MusicKind::Midi:
        PlayRuntimeMidi(std::move(music), loop);
        return true;
    case MusicKind::None:
        break;
    }
    return false;
}

void StopMusic(bool wait)
{
    RuntimeMusic& music = Music();
    {
        std::lock_guard lock(music.lock);
        if (music.playlist) {
            music.playlist->RemovePlayer();
            music.playlist.reset();
        }
        music.midi.Stop();
    }
    StopAllWaves(wait);
}

void HoldPlaylistPlayer(std::unique_ptr<PlaylistPlayer> player)
{
    RuntimeMusic& music = Music();
    std::lock_guard lock(music.lock);
    music.playlist = std::move(player);
}

bool HoldsPlaylistPlayer()
{
    RuntimeMusic& music = Music();
    std::lock_guard lock(music.lock);
    return music.playlist != nullptr;
}

}  // namespace vellumry::sound
