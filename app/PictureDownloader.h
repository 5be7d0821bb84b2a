#pragma once

// The download run: once through the rows the report list holds at its
// start, fetch each row's picture address, write the body into the save
// folder as <row number>.jpg and mark the row "下载完成". The status bar
// shows the start and the end of the run.
//
// A picture that did not arrive (no response, a status outside 200 to 299,
// an empty body) or whose file could not be written is marked "下载失败"
// and leaves no file: an existing file of that name keeps its content, as
// files are written whole or not at all (a temporary name, then a rename),
// so neither a failure nor a stop leaves half a picture or an error page
// under a picture's name. A row the list no longer holds when the run
// reaches it (cleared meanwhile) is skipped: no request, no file; nor is a
// picture kept whose row went while it was on its way.
//
// Runs on the download worker; a stop unwinds it at its next runtime call.

#include "app/CoreCommands.h"
#include "app/MainWindowUnits.h"

namespace vellumry::app {

void DownloadAllPictures(MainWindowUnits& units);

// True for a response that holds a picture to keep: a status from 200 to
// 299 and a body that is not empty.
bool PictureArrived(std::int32_t status, const void* body);

}  // namespace vellumry::app
