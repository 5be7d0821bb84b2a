#include "app/GalleryPages.h"

#include "app/AppTexts.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {
namespace {

const char* OrEmpty(const char* text)
{
    return text ? text : "";
}

}  // namespace

OwnedText BaseAddress(const char* typedAddress)
{
    return ReplaceSubText(OrEmpty(typedAddress), texts::kAppStaticData.kPageSuffix, nullptr, 1, {}, true);
}

OwnedText PageAddress(const char* baseAddress, std::int32_t page)
{
    OwnedText number = ToText(runtime::TypedValue::OfInt(page));
    return OwnedText(runtime::ConcatTexts(
        {OrEmpty(baseAddress), texts::kAppStaticData.kPageNumberSeparator, OrEmpty(number.get()), texts::kAppStaticData.kPageSuffix}));
}

OwnedText PicturePattern(const char* pictureHost)
{
    return OwnedText(
        runtime::ConcatTexts({texts::kAppStaticData.kPicturePatternHead, OrEmpty(pictureHost), texts::kAppStaticData.kPicturePatternTail}));
}

OwnedText PicturePrefix(const char* pictureHost)
{
    return OwnedText(runtime::ConcatTexts({OrEmpty(pictureHost), texts::kAppStaticData.kPicturePathPrefix}));
}

OwnedText RowNumberText(std::int32_t row)
{
    return ToText(runtime::TypedValue::OfDouble(row + 1.0));
}

}  // namespace vellumry::app
