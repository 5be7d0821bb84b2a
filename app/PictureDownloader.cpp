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
        // A row the list no longer holds (it was cleared meanwhile) is skipped.
        if (row >= units.GetRowCount())
            continue;
        OwnedText address = units.GetCellText(row, kAddressColumn);
        // The name is read with the address, while the row is there: a list
        // cleared during the request must not turn the picture into ".jpg".
        OwnedText name = units.GetCellText(row, kNumberColumn);
        std::int32_t status = 0;
        OwnedByteSet body = web::HttpObjectRequest(OrEmpty(address.get()), {.status = &status});
        bool done = PictureArrived(status, body.get());
        if (row >= units.GetRowCount())
            continue;  // cleared while the picture was on its way: not kept
        if (done) {
            OwnedText path(runtime::ConcatTexts({folder.get(), OrEmpty(name.get()), kText.kPictureExtension}));
            done = WriteToFile(path.get(), {body.get()});
        }
        units.SetCellText(row, kStatusColumn, done ? kText.kDownloaded : kText.kDownloadFailed);
        units.EnsureRowVisible(row);
    }
    units.SetStatusText(kText.kAllDownloaded);
}

bool PictureArrived(std::int32_t status, const void* body)
{
    return status >= 200 && status <= 299 && ByteSetLength(body) > 0;
}

}  // namespace vellumry::app
