// vellumry-gallery: the demo gallery server on 127.0.0.1.
//   vellumry-gallery [--port N]     N defaults to 8808; 0 takes a free port
// Prints the gallery's address and a sample album page, then serves until
// interrupted (SIGINT or SIGTERM).

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "tools/gallery/GalleryServer.h"

int main(int argc, char** argv)
{
    long port = 8808;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "vellumry-gallery: bad port %s\n", argv[i]);
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: vellumry-gallery [--port N]\n");
            return 2;
        }
    }
    // The signals are waited for, not handled: block them before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        vellumry::gallery::GalleryServer server(static_cast<std::uint16_t>(port));
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
