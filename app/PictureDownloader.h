#pragma once

// The download run: once through the rows the report list holds at its
// start, fetch each row's picture address, write the body into the save
// folder as <row number>.jpg and mark the row "下载完成". The status bar
// shows the start and the end of the run. Failures are not reported: a
// failed request writes an empty file, a failed write is ignored, and the
// row is marked all the same. Files are written whole or not at all (a
// temporary name, then a rename), so a stop never leaves half a picture.
//
// Runs on the download worker; a stop unwinds it at its next runtime call.

#include "app/CoreCommands.h"
#include "app/MainWindowUnits.h"

namespace vellumry::app {

void DownloadAllPictures(MainWindowUnits& units);

}  // namespace vellumry::app
