// Start-up benchmark: the whole vellumry process, from exec to its first
// painted start window saved as a picture (--render-png), against a minimal
// Qt program that shows an empty window of the same size and saves its first
// frame. Both run offscreen, alternately, in the same session. Beside the
// times, the peak resident memory of each process.
//   startup_bench [runs]

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double milliseconds = -1;
    double peakMegabytes = 0;
};

Run RunOnce(const char* program, const char* picture)
{
    std::vector<char*> args;
    std::string first = program;
    std::string option = "--render-png";
    std::string path = picture;
    args.push_back(first.data());
    if (std::string(program).find("vellumry") != std::string::npos)
        args.push_back(option.data());
    args.push_back(path.data());
    args.push_back(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, args.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss / 1024.0};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<double> vellumry, vellumryPeak;
    std::vector<double> minimal, minimalPeak;
    for (int i = 0; i < runs; ++i) {
        Run a = RunOnce(VELLUMRY_EXE, "/tmp/startup-bench-vellumry.png");
        Run b = RunOnce(MINIMAL_EXE, "/tmp/startup-bench-minimal.png");
        if (a.milliseconds < 0 || b.milliseconds < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        vellumry.push_back(a.milliseconds);
        vellumryPeak.push_back(a.peakMegabytes);
        minimal.push_back(b.milliseconds);
        minimalPeak.push_back(b.peakMegabytes);
    }
    double v = Median(vellumry);
    double m = Median(minimal);
    std::printf("runs: %d each, alternating\n", runs);
    std::printf("vellumry to first painted start window: median %.1f ms, peak resident %.1f MB\n", v,
                Median(vellumryPeak));
    std::printf("minimal Qt window to first frame:       median %.1f ms, peak resident %.1f MB\n", m,
                Median(minimalPeak));
    std::printf("ratio: %.2f\n", v / m);
    return 0;
}
