#include "app/PictureDownloader.h"

#include "app/AppTexts.h"
#include "app/FolderPath.h"
#include "runtime/ValueHelpers.h"
#include "web/HttpObjectRequest.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

}  // namespace

void DownloadAllPictures(MainWindowUnits& units)
{
    units.SetStatusText(kText.kDownloading);
    OwnedText typedFolder = units.Content(EditBox::SaveFolder);
    OwnedText folder = FolderWithSeparator(typedFolder.get());
    const std::int32_t rowCount = units.GetRowCount();
    for (std::int32_t i = 1; i <= rowCount; ++i) {
        const std::int32_t row = i - 1;
        OwnedText address = units.GetCellText(row, kAddressColumn);
        OwnedByteSet body = web::HttpObjectRequest(OrEmpty(address.get()));
        OwnedText name = units.GetCellText(row, kNumberColumn);
        OwnedText path(runtime::ConcatTexts({folder.get(), OrEmpty(name.get()), kText.kPictureExtension}));
        WriteToFile(path.get(), {body.get()});
        units.SetCellText(row, kStatusColumn, kText.kDownloaded);
        units.EnsureRowVisible(row);
    }
    units.SetStatusText(kText.kAllDownloaded);
}

}  // namespace vellumry::app
