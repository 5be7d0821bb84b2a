#pragma once

// Music handed to a player: the bytes, read where they lie, and whatever
// keeps them alive. A player holds the owner until it has ended, so the
// first holder (a window whose description block carries the music, a
// caller that copied it) may let go of its own reference at any time, even
// while the music plays.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vellumry::sound {

struct MusicBytes {
    std::span<const std::uint8_t> bytes;
    // Null only for bytes that outlive every player reading them (the
    // program's image, or a holder that stops its player before it lets go).
    std::shared_ptr<const void> owner;

    // Bytes that some shared object keeps alive.
    static MusicBytes Shared(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner)
    {
        return {bytes, std::move(owner)};
    }

    // Bytes of the program's own image, alive until the process ends.
    static MusicBytes Static(std::span<const std::uint8_t> bytes) { return {bytes, nullptr}; }

    // Bytes whose holder stops the player (MidiPlayer::Stop or its
    // destructor) before it changes or frees them.
    static MusicBytes Held(std::span<const std::uint8_t> bytes) { return {bytes, nullptr}; }

    // A copy owned by the music itself, for bytes whose holder makes no
    // promise about how long they live.
    static MusicBytes CopyOf(std::span<const std::uint8_t> bytes)
    {
        auto copy = std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
        return {std::span(*copy), copy};
    }
};

}  // namespace vellumry::sound
