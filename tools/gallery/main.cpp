// vellumry-gallery: the demo gallery server on 127.0.0.1.
//   vellumry-gallery [--port N] [--pages N] [--pictures N] [--picture-size BYTES]
// Prints the gallery's address and a sample album page, then serves until
// interrupted (SIGINT or SIGTERM).

#include <csignal>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/gallery/GalleryServer.h"

namespace {

constexpr const char* kUsage =
    "usage: vellumry-gallery [--port N] [--pages N] [--pictures N] [--picture-size BYTES]\n"
    "  --port N              port on 127.0.0.1 (default 8808; 0 takes a free one)\n"
    "  --pages N             pages of every album (default 5)\n"
    "  --pictures N          share pictures on every page (default: two to four)\n"
    "  --picture-size BYTES  every picture file exactly this large (at least 32768)\n";

// A whole number from `low` to `high`, or none.
bool ReadNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv)
{
    long port = 8808;
    vellumry::gallery::GalleryShape shape;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        long value = 0;
        const bool hasValue = i + 1 < argc;
        if (option == "--port" && hasValue && ReadNumber(argv[i + 1], 0, 65535, value)) {
            port = value;
        } else if (option == "--pages" && hasValue && ReadNumber(argv[i + 1], 1, 100000, value)) {
            shape.pagesPerAlbum = static_cast<int>(value);
        } else if (option == "--pictures" && hasValue && ReadNumber(argv[i + 1], 1, 1000, value)) {
            shape.picturesPerPage = static_cast<int>(value);
        } else if (option == "--picture-size" && hasValue &&
                   ReadNumber(argv[i + 1], vellumry::gallery::kMinPictureBytes, 64L << 20, value)) {
            shape.pictureBytes = static_cast<std::size_t>(value);
        } else {
            std::fprintf(stderr, "vellumry-gallery: bad option %s%s%s\n%s", argv[i], hasValue ? " " : "",
                         hasValue ? argv[i + 1] : "", kUsage);
            return 2;
        }
        ++i;
    }
    // The signals are waited for, not handled: block them before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        vellumry::gallery::GalleryServer server(static_cast<std::uint16_t>(port), shape);
        std::printf("%s\n%s/tu/353/1075110353_1.shtml\n", server.Address().c_str(), server.Address().c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vellumry-gallery: %s\n", error.what());
        return 1;
    }
    return 0;
}
