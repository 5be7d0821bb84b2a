#include "app/GalleryParser.h"

#include "app/AppTexts.h"
#include "app/GalleryPages.h"
#include "runtime/ValueHelpers.h"
#include "web/ComInit.h"
#include "web/InetRequest.h"
#include "web/RegexMatcher.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

// Case ignored, not multiline, global, "#引号" as the quote.
bool CreateMatcher(web::RegexMatcher& matcher, const char* pattern, const char* subject)
{
    return matcher.Create(pattern, subject, false, false, true, true);
}

OwnedText StatusText(const char* head, std::int32_t number, const char* tail)
{
    OwnedText digits = ToText(runtime::TypedValue::OfInt(number));
    return OwnedText(runtime::ConcatTexts({head, OrEmpty(digits.get()), tail}));
}

}  // namespace

OwnedText FetchPageText(const char* pageAddress)
{
    OwnedByteSet body = web::InetRequest(OrEmpty(pageAddress));
    if (!body)
        return OwnedText();
    return ToText(ByteSetArgument(body.get()));
}

OwnedText ExtractShareSection(const char* pageText)
{
    web::RegexMatcher matcher;
    web::ComInitScope componentModel;  // once more, around the queries
    CreateMatcher(matcher, kText.kSectionPattern, OrEmpty(pageText));
    return matcher.GetSubMatchText(1, 1);
}

void AddPictureRows(MainWindowUnits& units, const char* section, const char* pictureHost)
{
    OwnedText pattern = PicturePattern(pictureHost);
    OwnedText prefix = PicturePrefix(pictureHost);
    web::RegexMatcher matcher;
    web::ComInitScope componentModel;  // once more, around the queries
    CreateMatcher(matcher, pattern.get(), OrEmpty(section));
    const std::int32_t count = matcher.GetMatchCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        OwnedText path = matcher.GetSubMatchText(i, 1);
        OwnedText address(runtime::ConcatTexts({OrEmpty(prefix.get()), OrEmpty(path.get())}));
        const std::int32_t row = units.InsertRow();
        OwnedText number = RowNumberText(row);
        units.SetCellText(row, kNumberColumn, OrEmpty(number.get()));
        units.SetCellText(row, kAddressColumn, address.get());
        units.SetCellText(row, kStatusColumn, kText.kWaitingForDownload);
        units.EnsureRowVisible(row);
    }
}

void ParseGalleryPages(MainWindowUnits& units, const char* pictureHost)
{
    units.SaveSettings();
    OwnedText startText = units.Content(EditBox::StartPage);
    OwnedText endText = units.Content(EditBox::EndPage);
    const std::int32_t startPage = ToInteger(TextArgument(OrEmpty(startText.get())));
    const std::int32_t endPage = ToInteger(TextArgument(OrEmpty(endText.get())));
    OwnedText typedAddress = units.Content(EditBox::PageAddress);
    OwnedText base = BaseAddress(typedAddress.get());

    // A 64-bit counter, so that an end page of 2147483647 ends the loop
    // instead of wrapping round.
    for (std::int64_t page = startPage; page <= endPage; ++page) {
        const auto n = static_cast<std::int32_t>(page);
        OwnedText progress = StatusText(kText.kParsingPageHead, n, kText.kParsingPageTail);
        units.SetStatusText(progress.get());
        OwnedText address = PageAddress(base.get(), n);
        OwnedText text = FetchPageText(address.get());
        OwnedText section = ExtractShareSection(text.get());
        AddPictureRows(units, section.get(), pictureHost);
    }
    OwnedText done = StatusText(kText.kParseDoneHead, units.GetRowCount(), kText.kParseDoneTail);
    units.SetStatusText(done.get());
}

}  // namespace vellumry::app
