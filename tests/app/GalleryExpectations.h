#pragma once

// What the demo gallery of a test serves and was asked for, for the tests
// that run the program's parse and download against it.

#include <string>
#include <vector>

#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryServer.h"

namespace vellumry::test {

// The album every test parses.
inline constexpr const char* kTestAlbum = "1075110353";

// The picture addresses the share sections of the album's pages `first` to
// `last` hold, in page order.
std::vector<std::string> AlbumPictureAddresses(const gallery::GalleryServer& server, int first, int last);

// The targets of the page requests the server received, in order.
std::vector<std::string> PageTargets(const gallery::GalleryServer& server);

// The bytes the gallery serves for a picture address; empty (with a failed
// expectation) for an address that is not a picture's.
std::string ServedPicture(const gallery::GalleryServer& server, const std::string& address);

}  // namespace vellumry::test
