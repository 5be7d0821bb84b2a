#pragma once

// The application's event handlers of the start form, bound by name in the
// window template (forms/Handlers.def):
// - LoadSettings (window event 0): the edit boxes from the settings file.
// - ParseButtonClicked: with the start-page, end-page and address boxes all
//   filled (tested in that order), starts a parse worker; otherwise nothing.
// - DownloadButtonClicked: with rows in the list and a save folder, starts a
//   download worker; otherwise nothing.
// - StopButtonClicked: stops every parse and download worker still running
//   (the latest of each kind first, then any earlier one a second press left
//   running) and shows "线程已停止。", also when nothing ran. Once it has
//   returned no stopped worker changes a cell or status text, makes a
//   request or writes a file.
// - ClearButtonClicked: empties the report list; nothing else.
// - FolderButtonClicked: hides the picture, shows the list, asks for a
//   folder and puts the answer (empty when cancelled) into the save-folder
//   box, which is disabled from then on.
//
// Window thread only.

#include "forms/engine/EventDispatch.h"

namespace vellumry::app {

void LoadSettings(forms::EventCall& call);
void ParseButtonClicked(forms::EventCall& call);
void DownloadButtonClicked(forms::EventCall& call);
void StopButtonClicked(forms::EventCall& call);
void ClearButtonClicked(forms::EventCall& call);
void FolderButtonClicked(forms::EventCall& call);

}  // namespace vellumry::app
