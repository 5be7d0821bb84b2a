#include "app/PictureHost.h"

#include "app/AppTexts.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

}  // namespace

OwnedText PictureHost(const char* settingsFile)
{
    OwnedText configured = ReadProfileItem(OrEmpty(settingsFile), kText.kSiteSection,
                                           kText.kPictureHostKey);
    OwnedText host = TrimSpaces(OrEmpty(configured.get()));
    if (host && *host)
        return host;
    return OwnedText(runtime::MakeText(kText.kPictureHost));
}

}  // namespace vellumry::app
