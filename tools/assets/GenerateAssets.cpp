// vellumry_assetgen: writes one of the program's generated assets.
//
//     vellumry_assetgen background <file>   the window's background picture (JPEG)
//     vellumry_assetgen picture <file>      the picture box's picture (JPEG)
//     vellumry_assetgen icon <file>         the program icon (ICO)
//     vellumry_assetgen music <file>        the background music (WAV)
//
// Every asset is computed from code alone, so each run gives the same bytes.

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/assets/AssetFile.h"
#include "tools/assets/BackgroundPainter.h"
#include "tools/assets/IcoWriter.h"
#include "tools/assets/IconPainter.h"
#include "tools/assets/JpegWriter.h"
#include "tools/assets/LandscapePainter.h"
#include "tools/assets/MusicRenderer.h"
#include "tools/assets/Score.h"
#include "tools/assets/WavWriter.h"

namespace {

using namespace vellumry::assets;

// The form description is laid out around pictures of these exact sizes.
constexpr std::size_t kBackgroundFileSize = 4399;
constexpr std::size_t kPictureFileSize = 38640;
// Fills the music's INFO list to 26 bytes, which with 57.07 seconds of
// samples makes the file 10956878 bytes long.
constexpr std::string_view kMusicTitle = "Vellumry Dawn";

struct Asset {
    std::string_view name;
    std::vector<std::uint8_t> (*make)();
};

constexpr Asset kAssets[] = {
    {"background", [] { return EncodeJpegOfSize(PaintBackground(), kBackgroundFileSize); }},
    {"picture", [] { return EncodeJpegOfSize(PaintLandscape(), kPictureFileSize); }},
    {"icon", [] { return EncodeIco(PaintIconImages()); }},
    {"music", [] { return EncodeWav(RenderMusic(), kMusicChannels, kSampleRate, kMusicTitle); }},
};

int Usage()
{
    std::fprintf(stderr, "usage: vellumry_assetgen <asset> <output file>\nassets:");
    for (const Asset& asset : kAssets)
        std::fprintf(stderr, " %.*s", static_cast<int>(asset.name.size()), asset.name.data());
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Usage();
    for (const Asset& asset : kAssets) {
        if (asset.name == argv[1])
            return WriteAssetFile(argv[2], asset.make()) ? 0 : 1;
    }
    return Usage();
}
