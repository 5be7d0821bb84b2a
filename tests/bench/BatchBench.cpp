// Whole-program benchmark: the batch mode of vellumry parsing 50 pages of
// the demo gallery (1,000 pages of 20 pictures of 50 KB each) and
// downloading their 1,000 pictures, against one wget process fetching the
// same 50 pages and the same 1,000 pictures from a list (sequential,
// keep-alive), alternately in the same run against the same server. Prints
// each one's median wall time, throughput, their ratio and each one's peak
// resident memory (the child's own rusage).
//   batch_bench [rounds] [pages]
// A child started straight from this process would be charged with this
// process's memory (the gallery's pictures) as its peak: the kernel counts
// the memory the child had before it became the other program. So each
// child starts from a small launcher, this program again with
//   batch_bench --launch REPORT PROGRAM [ARGUMENTS...]
// which runs PROGRAM and writes its peak resident KiB into REPORT.
// The program runs from a copy in a folder of its own, so that its settings
// file is not the build's; offscreen, without sound.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/bench/InstalledProgram.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryServer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace vellumry;
using bench::FindProgram;

constexpr int kPagesInGallery = 1000;
constexpr int kPicturesPerPage = 20;
constexpr std::size_t kPictureBytes = 50 * 1024;
const std::string kAlbum = "1075110353";

// The launcher: runs the program, writes its peak memory, ends as it ended.
int Launch(const char* report, char** programAndArguments)
{
    pid_t child = fork();
    if (child < 0)
        return 127;
    if (child == 0) {
        execv(programAndArguments[0], programAndArguments);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 127;
    std::ofstream(report) << usage.ru_maxrss << "\n";
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
};

// Runs a program to its end with its output to `log`; its wall time and its
// own peak resident memory.
ChildRun Run(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
             const fs::path& log)
{
    const fs::path report = log.string() + ".peak";
    std::vector<std::string> arguments = {fs::read_symlink("/proc/self/exe").string(), "--launch", report.string()};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::vector<std::string> environment(extraEnvironment);
    for (char** entry = environ; *entry; ++entry)
        environment.emplace_back(*entry);
    std::vector<char*> envp, argv;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    ChildRun run;
    pid_t child = 0;
    const auto start = std::chrono::steady_clock::now();
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    waitpid(child, &status, 0);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::ifstream(report) >> run.peakKiB;
    return run;
}

// How many files of `size` bytes the folder holds, and how many files in all.
std::pair<int, int> CountFiles(const fs::path& folder, std::uintmax_t size)
{
    int sized = 0, all = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        ++all;
        if (entry.file_size() == size)
            ++sized;
    }
    return {sized, all};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Contender {
    std::string name;
    std::vector<double> seconds = {};
    long peakKiB = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--launch")
        return Launch(argv[2], argv + 3);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int pages = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, kPagesInGallery) : 50;
    const int pictures = pages * kPicturesPerPage;
    const std::string wget = FindProgram("wget");
    if (wget.empty()) {
        std::printf("wget is not installed (scripts/setup installs it)\n");
        return 1;
    }

    gallery::GalleryShape shape;
    shape.pagesPerAlbum = kPagesInGallery;
    shape.picturesPerPage = kPicturesPerPage;
    shape.pictureBytes = kPictureBytes;
    gallery::GalleryServer server(0, shape);
    const std::string host = server.Address();

    const fs::path work = fs::temp_directory_path() / ("batch-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path program = work / "vellumry";
    fs::copy_file(VELLUMRY_EXE, program);
    {
        std::ofstream list(work / "list.txt");
        for (int page = 1; page <= pages; ++page)
            list << host << "/tu/353/" << kAlbum << "_" << page << ".shtml\n";
        for (int page = 1; page <= pages; ++page)
            for (const std::string& path : gallery::SharePicturePaths({kAlbum, page}, shape))
                list << host << path << "\n";
    }
    auto wgetCommand = [&](const fs::path& out) {
        return std::vector<std::string>{wget, "-q", "-i", (work / "list.txt").string(), "-P", out.string()};
    };
    auto batchCommand = [&](const fs::path& out) {
        return std::vector<std::string>{program.string(), "--batch", "--address", host + "/tu/353/" + kAlbum + ".shtml",
                                        "--from", "1", "--to", std::to_string(pages), "--folder", out.string(),
                                        "--picture-host", host};
    };
    const std::vector<std::string> batchEnvironment = {"QT_QPA_PLATFORM=offscreen", "VELLUMRY_SOUND=none"};

    // Once, untimed: the server makes each picture on its first request.
    fs::create_directories(work / "warm");
    if (!Run(wgetCommand(work / "warm"), {}, work / "warm.log").ok) {
        std::printf("the warm-up fetch failed\n");
        return 1;
    }

    Contender ours{"vellumry --batch"}, theirs{"wget -i"};
    for (int round = 0; round < rounds; ++round) {
        for (Contender* contender : {&ours, &theirs}) {
            const bool isOurs = contender == &ours;
            // A folder of its own for every run, all removed at the end: in a
            // folder emptied just before, the file system (ext4 without a
            // journal) would skip over the thousand inodes it had just freed
            // for every new file, a cost of the benchmark, not of either
            // program.
            const fs::path out = work / ("out-" + std::to_string(round) + (isOurs ? "-vellumry" : "-wget"));
            fs::create_directories(out);
            const fs::path log = work / (isOurs ? "batch.log" : "wget.log");
            ChildRun run = Run(isOurs ? batchCommand(out) : wgetCommand(out),
                               isOurs ? batchEnvironment : std::vector<std::string>{}, log);
            auto [sized, all] = CountFiles(out, kPictureBytes);
            const int expectedFiles = isOurs ? pictures : pictures + pages;
            if (!run.ok || sized != pictures || all != expectedFiles) {
                std::printf("%s failed: %d pictures of %d, %d files (see %s)\n", contender->name.c_str(), sized,
                            pictures, all, log.c_str());
                return 1;
            }
            contender->seconds.push_back(run.seconds);
            contender->peakKiB = std::max(contender->peakKiB, run.peakKiB);
        }
    }

    const double megabytes = static_cast<double>(pictures) * kPictureBytes / (1024.0 * 1024.0);
    std::printf("%d pages, %d pictures of %zu bytes (%.1f MiB), %d rounds, medians:\n", pages, pictures, kPictureBytes,
                megabytes, rounds);
    for (const Contender* contender : {&ours, &theirs}) {
        const double seconds = Median(contender->seconds);
        std::printf("  %-18s %7.3f s  %7.1f pictures/s  %6.1f MiB/s  peak %ld KiB\n", contender->name.c_str(),
                    seconds, pictures / seconds, megabytes / seconds, contender->peakKiB);
    }
    std::printf("throughput ratio vellumry / wget: %.2f (goal: at least 1.0)\n",
                Median(theirs.seconds) / Median(ours.seconds));
    fs::remove_all(work);
    return 0;
}
