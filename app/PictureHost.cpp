#include "app/PictureHost.h"

#include "app/AppTexts.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {

OwnedText PictureHost(const char* settingsFile)
{
    OwnedText configured = ReadProfileItem(settingsFile ? settingsFile : "", texts::kAppStaticData.kSiteSection,
                                           texts::kAppStaticData.kPictureHostKey);
    OwnedText host = TrimSpaces(configured ? configured.get() : "");
    if (host && *host)
        return host;
    return OwnedText(runtime::MakeText(texts::kAppStaticData.kPictureHost));
}

}  // namespace vellumry::app
