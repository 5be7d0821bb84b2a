// Picture decoding benchmark: DecodePicture (and DecodePicture followed by
// PreparePicture, what a unit does before its first paint) against
// libjpeg-turbo's own decode to RGB, on the start form's two pictures and on
// a 4000 × 3000 photograph-like JPEG. The runs alternate, in one process;
// the figures are medians.
//   picture_bench [runs] [--warm-heap]
// Speed ratio = libjpeg-turbo's time / ours: 1.0 means no overhead.
//
// Every decode writes into fresh memory, so the figures include the cost of
// the system handing out new pages, which varies a lot between machines
// (on some virtual machines it is most of a large decode). --warm-heap keeps
// freed blocks in the heap, so that later runs reuse pages already mapped
// and the figures show the decoding work itself.
//
// Our decoders ask for huge pages for large pixel blocks; the reference
// decode gets plain heap memory. To compare the decoding alone with the
// same memory on both sides, run it as
//   GLIBC_TUNABLES=glibc.malloc.hugetlb=1 picture_bench
// which makes the heap ask for huge pages for every block.

#include <QColor>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"
#include "units/picture/PreparedPicture.h"

namespace {

using namespace vellumry;
using Clock = std::chrono::steady_clock;

test::Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return test::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Smooth gradients with fine noise over them: compresses and decodes like a
// photograph rather than like flat test bars.
test::RgbPicture Photograph(int width, int height)
{
    test::RgbPicture picture{width, height, std::vector<test::Rgb>(static_cast<std::size_t>(width) * height)};
    std::vector<std::uint8_t> noise = test::NoiseBytes(picture.pixels.size(), 42, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * width + x;
            int n = noise[i];
            int r = std::min(255, x * 200 / width + n);
            int g = std::min(255, y * 180 / height + n);
            int b = std::min(255, 60 + (x + y) * 120 / (width + height) + n);
            picture.pixels[i] = (static_cast<test::Rgb>(r) << 16) | (static_cast<test::Rgb>(g) << 8) | b;
        }
    return picture;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work>
double TimeMs(Work&& work)
{
    auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool Measure(const char* name, const test::Bytes& file, int runs)
{
    std::vector<double> reference;
    std::vector<double> decode;
    std::vector<double> prepared;
    for (int i = 0; i < runs; ++i) {
        bool ok = true;
        reference.push_back(TimeMs([&] {
            int width = 0;
            int height = 0;
            std::vector<std::uint8_t> rgb;
            ok = ok && test::JpegDecodeToRgb(file, width, height, rgb);
        }));
        decode.push_back(TimeMs([&] { ok = ok && units::DecodePicture(file).has_value(); }));
        prepared.push_back(TimeMs([&] {
            auto picture = units::DecodePicture(file);
            ok = ok && picture && units::PreparePicture(*picture, QColor(255, 255, 255)).has_value();
        }));
        if (!ok) {
            std::fprintf(stderr, "%s: a decode failed\n", name);
            return false;
        }
    }
    double r = Median(reference);
    double d = Median(decode);
    double p = Median(prepared);
    std::printf("%-34s libjpeg-turbo to RGB %8.2f ms | DecodePicture %8.2f ms (speed ratio %.2f) | "
                "with Prepare %8.2f ms (ratio %.2f)\n",
                name, r, d, r / d, p, r / p);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    bool warmHeap = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--warm-heap")
            warmHeap = true;
        else
            runs = std::max(3, std::atoi(argv[i]));
    }
    if (warmHeap) {
        // Large blocks from the heap rather than from fresh mappings, and
        // no returning of freed memory to the system.
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    std::string assets = VELLUMRY_ASSET_DIR;
    test::Bytes background = ReadFile(assets + "/background.jpg");
    test::Bytes picture = ReadFile(assets + "/picture.jpg");
    test::Bytes photograph = test::JpegFileBytes(Photograph(4000, 3000), 90, false, true);
    std::printf("runs: %d each, alternating; medians%s\n", runs, warmHeap ? "; heap kept warm" : "");
    bool ok = Measure("window background (start form)", background, runs) &&
              Measure("picture box picture (start form)", picture, runs) &&
              Measure("4000 x 3000 photograph, 4:2:0 q90", photograph, runs);
    return ok ? 0 : 1;
}
