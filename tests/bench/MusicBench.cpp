// Music benchmark: the start form's background music (the 57-second PCM
// clip the form builder embeds) played once through the WAV player on the
// null wave device at real-time pace, as the program plays it on a sound
// card. Reports the process's CPU time against the wall time (goal: under 1%
// of one core) and the most bytes queued on the device at any time.
//   music_bench [speed]     speed 1 (default) is real time; 2 twice as fast

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/sound/NullWaveDevice.h"
#include "platform/sound/SoundDevices.h"
#include "sound/WavePlayer.h"

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace vellumry;
    double speed = argc > 1 ? std::atof(argv[1]) : 1.0;
    std::ifstream file(MUSIC_FILE, std::ios::binary);
    std::vector<std::uint8_t> music((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (music.empty() || speed <= 0) {
        std::fprintf(stderr, "music_bench: cannot read %s, or a speed that is not positive\n", MUSIC_FILE);
        return 1;
    }
    mm::SelectSoundDevices(mm::SoundDevices::Null);
    mm::SetNullWaveSpeed(speed);

    double cpuBefore = CpuSeconds();
    auto wallBefore = std::chrono::steady_clock::now();
    if (!sound::PlayWave(sound::MusicBytes::Static(music), false)) {
        std::fprintf(stderr, "music_bench: the clip does not play\n");
        return 1;
    }
    while (sound::PlayingWaveCount() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sound::StopAllWaves(true);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    double cpu = CpuSeconds() - cpuBefore;

    mm::NullWaveRecord record = mm::NullWaveSnapshot();
    std::printf("clip: %zu bytes, played %llu bytes in %zu buffers at speed %g\n", music.size(),
                static_cast<unsigned long long>(record.bytesTaken), record.writes.size(), speed);
    std::printf("wall %.2f s, cpu %.3f s: %.3f%% of one core\n", wall, cpu, 100.0 * cpu / wall);
    std::printf("most bytes queued at once: %zu\n", record.maxBytesQueued);
    return 0;
}
