#include "tests/app/GalleryExpectations.h"

#include <gtest/gtest.h>

namespace vellumry::test {

std::vector<std::string> AlbumPictureAddresses(const gallery::GalleryServer& server, int first, int last)
{
    std::vector<std::string> addresses;
    for (int page = first; page <= last; ++page)
        for (const std::string& path : gallery::SharePicturePaths({kTestAlbum, page}, server.Shape()))
            addresses.push_back(server.Address() + path);
    return addresses;
}

std::vector<std::string> PageTargets(const gallery::GalleryServer& server)
{
    std::vector<std::string> pages;
    for (const std::string& target : server.RequestTargets())
        if (target.find(".shtml") != std::string::npos)
            pages.push_back(target);
    return pages;
}

std::string ServedPicture(const gallery::GalleryServer& server, const std::string& address)
{
    const size_t folder = address.find(gallery::kPictureFolder);
    auto picture = folder == std::string::npos
                       ? std::nullopt
                       : gallery::ParsePicturePath(std::string_view(address).substr(folder), server.Shape());
    EXPECT_TRUE(picture) << address;
    if (!picture)
        return {};
    auto bytes = gallery::PictureBytes(*picture, server.Shape());
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace vellumry::test
