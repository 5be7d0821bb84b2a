// Vellumry's process entry.
//   vellumry                      runs the program
//   vellumry --inspect            prints the program description
//   vellumry --render-png FILE    starts, saves the painted start window as a
//                                 PNG picture and ends
//   vellumry --batch ...          drives the window without a person
//                                 (vellumry --batch --help tells how)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"

#include "app/HeapSetup.h"
#include "app/ProgramEntry.h"
#include "app/ProgramWiring.h"
#include "app/StartWindowSnapshot.h"
#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "platform/net/HttpTransfer.h"
#include "runtime/RuntimeApplication.h"
#include "tools/listing/BlockSniff.h"
#include "tools/listing/ProgramListing.h"

namespace {

// The parse button's first page needs libcurl: it is loaded on another
// processor while the window is built.
std::jthread PrepareTransfersMeanwhile()
{
    return std::jthread([] { vellumry::net::PrepareTransfers(); });
}

// The batch mode: 2 for a bad command line, else the run's outcome.
int RunBatch(int argc, char** argv, const std::vector<std::string_view>& arguments)
{
    using namespace vellumry::app;
    BatchCommand command = ParseBatchCommand(arguments);
    if (command.kind == BatchCommand::Kind::Help) {
        std::fputs(kBatchUsage, stdout);
        return 0;
    }
    if (command.kind == BatchCommand::Kind::Error) {
        std::fprintf(stderr, "vellumry: %s\n%s", command.error.c_str(), kBatchUsage);
        return 2;
    }
    BatchOptions& options = command.options;
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(options.folder, error);
    if (!error)
        std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "vellumry: --folder %s cannot be made: %s\n", options.folder.c_str(),
                     error ? error.message().c_str() : "not a folder");
        return 2;
    }
    options.folder = folder.lexically_normal().string();
    // The program works in its own folder: a relative picture name means the
    // folder it was started in.
    if (!options.screenshot.empty())
        options.screenshot = std::filesystem::absolute(options.screenshot, error).lexically_normal().string();
    if (options.folder.size() > 1 && options.folder.back() == '/')
        options.folder.pop_back();
    // Without a display the window lives offscreen.
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!display || !*display) && (!wayland || !*wayland))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::jthread preparing = PrepareTransfersMeanwhile();
    vellumry::app::WireProgram();
    BatchRun application(argc, argv, ProgramEntry, options);
    int code = application.Run();
    if (!application.Finished()) {
        // The window went before the run ended; the driver may be waiting
        // for it and cannot be joined.
        std::fprintf(stderr, "vellumry: the window was closed before the batch run ended\n");
        std::fflush(stdout);
        std::_Exit(1);
    }
    return code != 0 ? code : application.ExitCode();
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace vellumry;
    using namespace vellumry::app;
    PrepareHeapForWindows();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (WantsBatch(arguments) || (argc == 2 && std::strcmp(argv[1], "--help") == 0))
        return RunBatch(argc, argv, arguments);
    if (argc == 2 && std::strcmp(argv[1], "--inspect") == 0) {
        bool read = listing::ListProgram(ProgramDescription(), kHandlerNames, std::cout);
        std::cout << "Program icon: " << listing::DescribeBlock(ProgramIconBytes(), units::BlockContent::Picture) << "\n";
        return read ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--render-png") == 0) {
        WireProgram();
        StartWindowSnapshot application(argc, argv, ProgramEntry, argv[2]);
        int code = application.Run();
        if (!application.Saved()) {
            std::cerr << "vellumry: the start window could not be saved to " << argv[2] << "\n";
            return 1;
        }
        return code;
    }
    if (argc > 1) {
        std::cerr << "usage: vellumry [--inspect | --render-png FILE | --batch ...]\n"
                     "       vellumry --batch --help\n";
        return 2;
    }
    std::jthread preparing = PrepareTransfersMeanwhile();
    WireProgram();
    runtime::RuntimeApplication application(argc, argv, ProgramEntry);
    return application.Run();
}
