#include "tools/gallery/GalleryLayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/codepage/CodePage.h"
#include "tools/assets/JpegWriter.h"
#include "tools/assets/Raster.h"

namespace vellumry::gallery {
namespace {

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<int> SmallNumber(std::string_view text)
{
    if (!AllDigits(text) || text.size() > 6)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A stable hash of the album and numbers, for sizes and colours.
std::uint32_t Seed(std::string_view album, int page, int index)
{
    std::uint32_t h = 2166136261u;
    auto mix = [&h](std::uint32_t v) {
        h ^= v;
        h *= 16777619u;
    };
    for (char c : album)
        mix(static_cast<unsigned char>(c));
    mix(static_cast<std::uint32_t>(page));
    mix(static_cast<std::uint32_t>(index));
    return h;
}

std::string PicturePath(const PageAddress& page, int index)
{
    return std::string(kPictureFolder) + page.album + "/" + std::to_string(page.page) + "_" +
           std::to_string(index) + ".jpg";
}

}  // namespace

std::optional<PageAddress> ParsePagePath(std::string_view path, const GalleryShape& shape)
{
    constexpr std::string_view kSuffix = ".shtml";
    if (path.size() <= kSuffix.size() || path.substr(path.size() - kSuffix.size()) != kSuffix)
        return std::nullopt;
    std::string_view name = path.substr(0, path.size() - kSuffix.size());
    name = name.substr(name.rfind('/') + 1);
    size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos || !AllDigits(name.substr(0, underscore)))
        return std::nullopt;
    std::optional<int> page = SmallNumber(name.substr(underscore + 1));
    if (!page || *page < 1 || *page > shape.pagesPerAlbum)
        return std::nullopt;
    return PageAddress{std::string(name.substr(0, underscore)), *page};
}

std::optional<PictureAddress> ParsePicturePath(std::string_view path, const GalleryShape& shape)
{
    if (path.substr(0, kPictureFolder.size()) != kPictureFolder)
        return std::nullopt;
    std::string_view rest = path.substr(kPictureFolder.size());
    size_t slash = rest.find('/');
    if (slash == std::string_view::npos || !AllDigits(rest.substr(0, slash)))
        return std::nullopt;
    std::string_view name = rest.substr(slash + 1);
    constexpr std::string_view kJpg = ".jpg";
    if (name.size() <= kJpg.size() || name.substr(name.size() - kJpg.size()) != kJpg)
        return std::nullopt;
    name.remove_suffix(kJpg.size());
    size_t underscore = name.find('_');
    if (underscore == std::string_view::npos)
        return std::nullopt;
    std::optional<int> page = SmallNumber(name.substr(0, underscore));
    std::optional<int> index = SmallNumber(name.substr(underscore + 1));
    PictureAddress picture{std::string(rest.substr(0, slash)), page.value_or(0), index.value_or(0)};
    if (!page || !index || *page < 1 || *page > shape.pagesPerAlbum || *index < 1 ||
        *index > PicturesOnPage({picture.album, picture.page}, shape))
        return std::nullopt;
    return picture;
}

int PicturesOnPage(const PageAddress& page, const GalleryShape& shape)
{
    if (shape.picturesPerPage > 0)
        return shape.picturesPerPage;
    return 2 + static_cast<int>(Seed(page.album, page.page, 0) % 3);
}

std::vector<std::string> SharePicturePaths(const PageAddress& page, const GalleryShape& shape)
{
    std::vector<std::string> paths;
    for (int k = 1; k <= PicturesOnPage(page, shape); ++k)
        paths.push_back(PicturePath(page, k));
    return paths;
}

std::string PageBytes(const PageAddress& page, std::string_view host, const GalleryShape& shape)
{
    const std::string h(host);
    const std::string number = std::to_string(page.page);
    std::string html;
    html += "<!DOCTYPE html>\n<html><head><meta charset=\"gb2312\">\n";
    html += "<title>演示相册 " + page.album + " 第" + number + "页</title></head>\n<body>\n";
    // Before the share section: a header picture on the picture host.
    html += "<div class=\"head\"><img src=\"" + h + std::string(kPictureFolder) + "head/logo.jpg\" alt=\"标志\"></div>\n";
    html += "<div class=\"tools\">分享到：微博 QQ空间</div>\n<div class=\"pictures\">\n";
    for (const std::string& path : SharePicturePaths(page, shape))
        html += "<p><img src=\"" + h + path + "\" alt=\"第" + number + "页图片\" border=\"0\"></p>\n";
    // Inside the section but on another host: not a picture of this gallery.
    html += "<p><img src=\"" + std::string(kForeignHost) + std::string(kPictureFolder) + "ad/banner.jpg\"></p>\n";
    html += "</div>\n<!--大图默认end-->\n";
    // After the section: related albums, also on the picture host.
    html += "<div class=\"related\"><img src=\"" + h + std::string(kPictureFolder) + page.album +
            "/related.jpg\" alt=\"相关图集\"></div>\n";
    html += "<div class=\"pages\">第" + number + "页 共" + std::to_string(shape.pagesPerAlbum) + "页</div>\n";
    html += "</body></html>\n";
    return codepage::Utf8ToGbk(html);
}

std::pair<int, int> PictureSize(const PictureAddress& picture)
{
    std::uint32_t seed = Seed(picture.album, picture.page, picture.index);
    return {160 + static_cast<int>(seed % 641), 120 + static_cast<int>((seed >> 10) % 481)};
}

std::vector<std::uint8_t> PictureBytes(const PictureAddress& picture, const GalleryShape& shape)
{
    const auto [width, height] = PictureSize(picture);
    const std::uint32_t seed = Seed(picture.album, picture.page, picture.index);
    const assets::Colour top = assets::Hex(0x203040 + (seed & 0x3F3F3F));
    const assets::Colour bottom = assets::Hex(0xC0A080 - ((seed >> 8) & 0x3F3F3F));
    const assets::Colour sun = assets::Hex(0xFFE0A0);
    const double cx = width * (0.2 + 0.6 * ((seed >> 4) % 100) / 100.0);
    const double cy = height * 0.35;
    const double radius = std::min(width, height) * 0.15;
    assets::Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            assets::Colour c = assets::Mix(top, bottom, static_cast<double>(y) / height);
            double d = std::hypot(x - cx, y - cy);
            if (d < radius)
                c = assets::Mix(c, sun, assets::SmoothStep(radius, radius * 0.8, d));
            raster.At(x, y) = c;
        }
    }
    if (shape.pictureBytes > 0)
        return assets::EncodeJpegOfSize(raster, std::max(shape.pictureBytes, kMinPictureBytes));
    return assets::EncodeJpeg(raster, 85);
}

}  // namespace vellumry::gallery
