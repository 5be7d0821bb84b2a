// Start-up benchmark: the whole vellumry process, from exec to its first
// painted start window saved as a picture (--render-png), against a minimal
// Qt program that shows an empty window of the same size and saves its first
// frame. Both run offscreen, alternately, in the same session.
//   startup_bench [runs]

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

double RunOnce(const char* program, const char* picture)
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
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
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
    std::vector<double> vellumry;
    std::vector<double> minimal;
    for (int i = 0; i < runs; ++i) {
        double a = RunOnce(VELLUMRY_EXE, "/tmp/startup-bench-vellumry.png");
        double b = RunOnce(MINIMAL_EXE, "/tmp/startup-bench-minimal.png");
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        vellumry.push_back(a);
        minimal.push_back(b);
    }
    double v = Median(vellumry);
    double m = Median(minimal);
    std::printf("runs: %d each, alternating\n", runs);
    std::printf("vellumry to first painted start window: median %.1f ms\n", v);
    std::printf("minimal Qt window to first frame:       median %.1f ms\n", m);
    std::printf("ratio: %.2f\n", v / m);
    return 0;
}
