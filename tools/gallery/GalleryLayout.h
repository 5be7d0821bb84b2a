#pragma once

// What the demo gallery serves, independent of the network: the numbered
// album pages, in GBK, and the pictures they link to, as JPEG bytes made by
// our own painter. Everything is a pure function of the request path and
// the gallery's own address, so two runs serve the same bytes.
//
// Page paths: "/<folders>/<album>_<page>.shtml", album a run of digits,
// pages 1 to the shape's page count. Each page holds a share section (from the first
// "分享" to "<!--大图默认end-->") with the album's pictures on the picture
// host (the gallery's own address) under "/740x-/uploadImages/", and, where
// the parser must not look, a header picture before the section, a picture
// on another host inside it and a related picture after it.
// Picture paths: "/740x-/uploadImages/<album>/<page>_<k>.jpg", k from 1.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumry::gallery {

inline constexpr int kPagesPerAlbum = 5;

// How large the gallery is: its albums' page count, the share pictures on a
// page (0: two to four, varying from page to page) and the size of every
// picture file (0: as encoded; otherwise exactly that many bytes, at least
// kMinPictureBytes, which every picture fits).
struct GalleryShape {
    int pagesPerAlbum = kPagesPerAlbum;
    int picturesPerPage = 0;
    std::size_t pictureBytes = 0;
};

inline constexpr std::size_t kMinPictureBytes = 32 * 1024;
inline constexpr std::string_view kPictureFolder = "/740x-/uploadImages/";
// A host name that never resolves (the .invalid domain is reserved for that).
inline constexpr std::string_view kForeignHost = "http://img.elsewhere.invalid";

struct PageAddress {
    std::string album;
    int page = 0;
};

struct PictureAddress {
    std::string album;
    int page = 0;
    int index = 0;
};

std::optional<PageAddress> ParsePagePath(std::string_view path, const GalleryShape& shape = {});
std::optional<PictureAddress> ParsePicturePath(std::string_view path, const GalleryShape& shape = {});

// How many share pictures a page of an album holds.
int PicturesOnPage(const PageAddress& page, const GalleryShape& shape = {});

// The paths (after `host`) of the share pictures of a page, in page order.
std::vector<std::string> SharePicturePaths(const PageAddress& page, const GalleryShape& shape = {});

// The page as GBK bytes; `host` is "http://127.0.0.1:<port>".
std::string PageBytes(const PageAddress& page, std::string_view host, const GalleryShape& shape = {});

// The picture as JPEG bytes; dimensions differ from picture to picture.
std::vector<std::uint8_t> PictureBytes(const PictureAddress& picture, const GalleryShape& shape = {});

// Width and height a picture is painted with.
std::pair<int, int> PictureSize(const PictureAddress& picture);

}  // namespace vellumry::gallery
