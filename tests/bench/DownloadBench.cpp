// Download benchmark: 1,000 pictures of 50 KB served on 127.0.0.1, fetched
// one after another the way the download worker fetches them
// (HttpObjectRequest with the address alone, each body written to
// <row>.jpg), against `wget -i` (sequential, keep-alive) and `curl` with the
// same list, all in the same run against the same server. InetRequest, the
// page request, runs the same list for comparison. Prints the throughput of
// each and our ratio to the others; wget and curl are skipped when not
// installed.
//   download_bench [rounds] [pictures] [only this contender]

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/CoreCommands.h"
#include "app/ProgramWiring.h"
#include "app/description/DllCommandTable.h"
#include "platform/kernel/PathMapping.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/DllCommands.h"
#include "tests/bench/InstalledProgram.h"
#include "tests/support/LoopbackHttpServer.h"
#include "web/HttpObjectRequest.h"
#include "web/InetRequest.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace vellumry;
using bench::FindProgram;

constexpr std::size_t kPictureSize = 50 * 1024;

std::string Picture(int number)
{
    std::string bytes(kPictureSize, '\0');
    std::uint32_t state = 0x9E3779B9u * static_cast<std::uint32_t>(number + 1);
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

bool Spawn(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds for one run, or a negative value when it failed.
double Timed(const std::function<bool()>& run)
{
    auto start = std::chrono::steady_clock::now();
    bool ok = run();
    auto end = std::chrono::steady_clock::now();
    return ok ? std::chrono::duration<double>(end - start).count() : -1;
}

// True when the folder holds every picture, byte for byte.
bool AllPictures(const fs::path& folder, int count)
{
    for (int i = 1; i <= count; ++i) {
        std::ifstream in(folder / (std::to_string(i) + ".jpg"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes != Picture(i))
            return false;
    }
    return true;
}

struct Contender {
    std::string name;
    std::function<bool(const fs::path& folder)> run;
    std::vector<double> seconds = {};
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    std::string only = argc > 3 ? argv[3] : "";

    std::vector<std::string> pictures;
    for (int i = 1; i <= count; ++i)
        pictures.push_back(Picture(i));
    test::LoopbackHttpServer server([&pictures](const test::ServedRequest& request) {
        std::string line = request.RequestLine();
        std::size_t slash = line.find("/pics/");
        int number = slash == std::string::npos ? 0 : std::atoi(line.c_str() + slash + 6);
        if (number < 1 || number > static_cast<int>(pictures.size()))
            return test::Respond(404, "");
        return test::Respond(200, pictures[static_cast<std::size_t>(number - 1)], {"Content-Type: image/jpeg"});
    });
    std::vector<std::string> addresses;
    for (int i = 1; i <= count; ++i)
        addresses.push_back(server.Url("/pics/" + std::to_string(i) + ".jpg"));

    fs::path work = fs::temp_directory_path() / ("download-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    {
        std::ofstream list(work / "list.txt");
        std::ofstream config(work / "curl.cfg");
        for (int i = 1; i <= count; ++i) {
            list << addresses[static_cast<std::size_t>(i - 1)] << "\n";
            config << "url = \"" << addresses[static_cast<std::size_t>(i - 1)] << "\"\noutput = \"" << i << ".jpg\"\n";
        }
    }

    app::WireProgram();
    runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);

    // Each picture through the routine and written to its file, as the
    // download worker does.
    auto worker = [&](auto request) {
        return [&, request](const fs::path& folder) {
            std::string prefix = kernel::ToRuntimePath(folder.string()) + "\\";
            for (int i = 1; i <= count; ++i) {
                runtime::OwnedByteSet body = request(addresses[static_cast<std::size_t>(i - 1)].c_str());
                std::string path = prefix + std::to_string(i) + ".jpg";
                app::WriteToFile(path.c_str(), {body.get()});
            }
            return true;
        };
    };
    std::vector<Contender> contenders;
    contenders.push_back({"HttpObjectRequest", worker([](const char* address) { return web::HttpObjectRequest(address); })});
    contenders.push_back({"InetRequest", worker([](const char* address) { return web::InetRequest(address); })});
    if (std::string wget = FindProgram("wget"); !wget.empty()) {
        contenders.push_back({"wget -i", [wget, &work](const fs::path& folder) {
                                  return Spawn({wget, "-q", "-i", (work / "list.txt").string(), "-P",
                                                folder.string()});
                              }});
    } else {
        std::printf("wget is not installed: skipped\n");
    }
    if (std::string curl = FindProgram("curl"); !curl.empty()) {
        contenders.push_back({"curl -K", [curl, &work](const fs::path& folder) {
                                  return Spawn({curl, "-s", "--create-dirs", "--output-dir", folder.string(), "-K",
                                                (work / "curl.cfg").string()});
                              }});
    } else {
        std::printf("curl is not installed: skipped\n");
    }

    if (!only.empty())
        std::erase_if(contenders, [&](const Contender& contender) { return contender.name.rfind(only, 0) != 0; });
    if (contenders.empty()) {
        std::printf("no contender named %s\n", only.c_str());
        return 1;
    }
    for (int round = 0; round < rounds; ++round) {
        for (Contender& contender : contenders) {
            fs::path folder = work / "out";
            fs::remove_all(folder);
            fs::create_directories(folder);
            double seconds = Timed([&] { return contender.run(folder); });
            if (seconds < 0 || !AllPictures(folder, count)) {
                std::printf("%s failed\n", contender.name.c_str());
                return 1;
            }
            contender.seconds.push_back(seconds);
        }
    }
    fs::remove_all(work);

    double megabytes = static_cast<double>(count) * kPictureSize / (1024.0 * 1024.0);
    std::printf("%d pictures of %zu KB, %d rounds, median times\n", count, kPictureSize / 1024, rounds);
    double ours = Median(contenders.front().seconds);
    for (const Contender& contender : contenders) {
        double seconds = Median(contender.seconds);
        std::printf("  %-18s %8.3f s  %8.1f MB/s  %8.0f pictures/s  HttpObjectRequest/this throughput %.2f\n",
                    contender.name.c_str(), seconds, megabytes / seconds, count / seconds, seconds / ours);
    }
    return 0;
}
