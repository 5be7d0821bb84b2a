// Fuzz target for the demo gallery's reading of what a client sent: the
// request head, and the page, picture and fault paths in its target.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryRequest.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vellumry::gallery;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The input as a whole head, and as a bare path.
    std::optional<RequestLine> request = ParseRequestHead(input);
    (void)WantsKeepAlive(input);
    if (request) {
        Check(!request->method.empty());
        Check(request->path.find('?') == std::string::npos);
    }
    for (std::string_view path : {request ? std::string_view(request->path) : std::string_view(), input}) {
        if (auto page = ParsePagePath(path)) {
            Check(AllDigits(page->album));
            Check(page->page >= 1 && page->page <= kPagesPerAlbum);
            int count = PicturesOnPage(*page);
            Check(count >= 2 && count <= 4);
            Check(static_cast<int>(SharePicturePaths(*page).size()) == count);
        }
        if (auto picture = ParsePicturePath(path)) {
            Check(AllDigits(picture->album));
            Check(picture->index >= 1 && picture->index <= PicturesOnPage({picture->album, picture->page}));
            auto [width, height] = PictureSize(*picture);
            Check(width >= 160 && width <= 800 && height >= 120 && height <= 600);
        }
        if (auto fault = ParseFault(path)) {
            Check(fault->rest.empty() || fault->rest.front() == '/');
            if (auto number = LeadingNumber(fault->rest))
                Check(number->second.empty() || number->second.front() == '/');
        }
    }
    return 0;
}
