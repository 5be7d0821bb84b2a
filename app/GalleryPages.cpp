#include "app/GalleryPages.h"

#include "app/AppTexts.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

}  // namespace

OwnedText BaseAddress(const char* typedAddress)
{
    return ReplaceSubText(OrEmpty(typedAddress), kText.kPageSuffix, nullptr, 1, {}, true);
}

OwnedText PageAddress(const char* baseAddress, std::int32_t page)
{
    OwnedText number = ToText(runtime::TypedValue::OfInt(page));
    return OwnedText(runtime::ConcatTexts(
        {OrEmpty(baseAddress), kText.kPageNumberSeparator, OrEmpty(number.get()), kText.kPageSuffix}));
}

OwnedText PicturePattern(const char* pictureHost)
{
    return OwnedText(
        runtime::ConcatTexts({kText.kPicturePatternHead, OrEmpty(pictureHost), kText.kPicturePatternTail}));
}

OwnedText PicturePrefix(const char* pictureHost)
{
    return OwnedText(runtime::ConcatTexts({OrEmpty(pictureHost), kText.kPicturePathPrefix}));
}

OwnedText RowNumberText(std::int32_t row)
{
    return ToText(runtime::TypedValue::OfDouble(row + 1.0));
}

}  // namespace vellumry::app
