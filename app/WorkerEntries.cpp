#include "app/WorkerEntries.h"

#include "app/GalleryParser.h"
#include "app/PictureDownloader.h"
#include "app/PictureHost.h"
#include "app/Settings.h"
#include "app/StartFormUnits.h"

namespace vellumry::app {

DWORD ParseThreadEntry(LPVOID)
{
    StartFormUnits units;
    OwnedText settingsFile = ProgramSettingsPath();
    OwnedText pictureHost = PictureHost(settingsFile.get());
    ParseGalleryPages(units, OrEmpty(pictureHost.get()));
    return 0;
}

DWORD DownloadThreadEntry(LPVOID)
{
    StartFormUnits units;
    DownloadAllPictures(units);
    return 0;
}

}  // namespace vellumry::app
