#pragma once

// The null MIDI output (selected with SoundDevices::Null): it sounds
// nothing and keeps a record of every message a stream sends to it, with the
// message's place in stream time, so tests can check what a player plays.
// At speed 1 events are played at their time (real time), at speed 2 twice
// as fast, and so on; at speed 0 all at once. Any thread may call.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace vellumry::mm {

void SetNullMidiSpeed(double speed);

struct NullMidiMessage {
    std::uint64_t device = 0;  // 1, 2, ... in the order null streams were opened
    double microseconds = 0;   // stream time of the message
    std::vector<std::uint8_t> bytes;
};

struct NullMidiRecord {
    std::uint64_t devicesOpened = 0;
    std::uint64_t devicesOpen = 0;
    std::uint64_t messageCount = 0;
    std::vector<NullMidiMessage> messages;  // the first kNullMidiRecordedMessages of them
};
inline constexpr std::size_t kNullMidiRecordedMessages = 100000;

NullMidiRecord NullMidiSnapshot();
// Clears the record; devices still open stay counted as open.
void ResetNullMidiRecord();
bool WaitForNullMidi(const std::function<bool(const NullMidiRecord&)>& condition, std::chrono::milliseconds timeout);

}  // namespace vellumry::mm
