#pragma once

// What the demo gallery serves, independent of the network: the numbered
// album pages, in GBK, and the pictures they link to, as JPEG bytes made by
// our own painter. Everything is a pure function of the request path and
// the gallery's own address, so two runs serve the same bytes.
//
// Page paths: "/<folders>/<album>_<page>.shtml", album a run of digits,
// pages 1 to kPagesPerAlbum. Each page holds a share section (from the first
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

std::optional<PageAddress> ParsePagePath(std::string_view path);
std::optional<PictureAddress> ParsePicturePath(std::string_view path);

// How many share pictures a page of an album holds (2 to 4).
int PicturesOnPage(const PageAddress& page);

// The paths (after `host`) of the share pictures of a page, in page order.
std::vector<std::string> SharePicturePaths(const PageAddress& page);

// The page as GBK bytes; `host` is "http://127.0.0.1:<port>".
std::string PageBytes(const PageAddress& page, std::string_view host);

// The picture as JPEG bytes; sizes differ from picture to picture.
std::vector<std::uint8_t> PictureBytes(const PictureAddress& picture);

// Width and height a picture is painted with.
std::pair<int, int> PictureSize(const PictureAddress& picture);

}  // namespace vellumry::gallery
