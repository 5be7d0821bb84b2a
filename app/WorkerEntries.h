#pragma once

// The start routines of the two workers the buttons start (StartWorker):
// each ignores its parameter, runs its whole run against the start form's
// units and returns 0, which ends the thread. A stop unwinds the run at its
// next call into the runtime; the thread then ends with the stop's code.
//
// Worker threads only.

#include "platform/base/WinTypes.h"

namespace vellumry::app {

// ParseGalleryPages, with the picture host of the settings file.
DWORD ParseThreadEntry(LPVOID parameter);
// DownloadAllPictures.
DWORD DownloadThreadEntry(LPVOID parameter);

}  // namespace vellumry::app
