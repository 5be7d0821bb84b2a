#pragma once

// The parse run: from the start page to the end page typed into the window,
// fetch each gallery page, cut its share section out with the section
// pattern, and append one report-list row per picture of the picture host
// found in it (number, address, "等待下载————————"). Progress and the final
// row count go to the status bar. Failures are not reported: a page that
// cannot be fetched or holds no section adds no rows, and the run goes on.
//
// Runs on the parse worker; a stop unwinds it at its next runtime call.

#include "app/CoreCommands.h"
#include "app/MainWindowUnits.h"

namespace vellumry::app {

// The whole run, with the picture host the pictures must come from.
void ParseGalleryPages(MainWindowUnits& units, const char* pictureHost);

// One page's text: the body of a GET of the address, up to its first zero
// byte, without any conversion; the empty text when the request failed.
OwnedText FetchPageText(const char* pageAddress);

// The share section of a page: sub-match 1 of the first match of the
// section pattern, letter case ignored; the empty text when there is none.
OwnedText ExtractShareSection(const char* pageText);

// Appends a row for each picture of `pictureHost` in the section.
void AddPictureRows(MainWindowUnits& units, const char* section, const char* pictureHost);

}  // namespace vellumry::app
