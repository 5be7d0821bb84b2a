#pragma once

// The runtime's music service: PlayMusic and StopMusic, which units and
// libraries reach through HostNotify (2015, 2016) and the shutdown calls
// with wait.
//
// PlayMusic(data, loop): empty data gives false. WAV data starts a new WAV
// player on a copy of what it plays (the caller's bytes may go away at once);
// earlier WAV players keep playing. MIDI data stops the runtime's own MIDI
// player, copies the data into a buffer the runtime owns, loads it and, when
// the load succeeds, plays it; the result for MIDI data is true either way.
// Other data gives false.
//
// PlayMusic(music, loop) plays bytes whose owner keeps them alive: the
// players read them where they lie and hold the owner until they have ended,
// so nothing is copied however large the music is.
//
// StopMusic(wait): removes the playlist player the runtime holds, if any,
// stops the runtime's MIDI player and tells every WAV player to stop; with
// `wait`, returns once every WAV feeder thread has ended.
//
// Any thread may call.

#include <cstdint>
#include <memory>
#include <span>

#include "sound/MusicBytes.h"

namespace vellumry::sound {

bool PlayMusic(std::span<const std::uint8_t> data, bool loop);
bool PlayMusic(MusicBytes music, bool loop);
void StopMusic(bool wait);

// A playlist player the runtime may hold (created by library commands this
// program does not use); StopMusic removes it through its RemovePlayer
// operation.
class PlaylistPlayer {
public:
    virtual ~PlaylistPlayer() = default;
    virtual void RemovePlayer() = 0;
};

void HoldPlaylistPlayer(std::unique_ptr<PlaylistPlayer> player);
bool HoldsPlaylistPlayer();

}  // namespace vellumry::sound
