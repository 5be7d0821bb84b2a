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

}  // namespace

bool PlayMusic(std::span<const std::uint8_t> data, bool loop)
{
    if (data.empty())
        return false;
    switch (ClassifyMusic(data)) {
    case MusicKind::Wave:
        return PlayWaveCopy(data, loop);
    case MusicKind::Midi: {
        RuntimeMusic& music = Music();
        std::lock_guard lock(music.lock);
        music.midi.Stop();
        try {
            if (music.midi.Load(MusicBytes::CopyOf(data), loop))
                music.midi.Play();
        } catch (const std::bad_alloc&) {
            // No room for the copy: nothing plays, as for data that does not load.
        }
        return true;
    }
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
