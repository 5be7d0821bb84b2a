#include "app/MainWindowHandlers.h"

#include "app/AppTexts.h"
#include "app/ApplicationGlobals.h"
#include "app/FolderBrowser.h"
#include "app/MainFormUnitIds.h"
#include "app/Settings.h"
#include "app/StartFormCalls.h"
#include "app/StartFormUnits.h"
#include "app/WorkerEntries.h"
#include "app/WorkerThreads.h"
#include "app/description/ProgramDescription.h"
#include "forms/engine/FormEngine.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

bool IsEmpty(const OwnedText& text)
{
    return !text || !*text;
}

bool BoxFilled(StartFormUnits& units, EditBox box)
{
    return !IsEmpty(units.Content(box));
}

std::int32_t StartWorkerWith(WorkerRoutine entry)
{
    std::int32_t threadId = 0;  // nobody reads it
    return StartWorker(entry, 0, threadId);
}

}  // namespace

void LoadSettings(forms::EventCall&)
{
    OwnedText file = ProgramSettingsPath();
    LoadEditBoxes(kStartFormId, kMainWindowId, file);
}

void ParseButtonClicked(forms::EventCall&)
{
    StartFormUnits units;
    if (BoxFilled(units, EditBox::StartPage) && BoxFilled(units, EditBox::EndPage) &&
        BoxFilled(units, EditBox::PageAddress))
        Globals().parseThread = StartWorkerWith(&ParseThreadEntry);
}

void DownloadButtonClicked(forms::EventCall&)
{
    StartFormUnits units;
    if (units.GetRowCount() > 0 && BoxFilled(units, EditBox::SaveFolder))
        Globals().downloadThread = StartWorkerWith(&DownloadThreadEntry);
}

void StopButtonClicked(forms::EventCall&)
{
    StopWorker(Globals().parseThread);
    StopWorker(Globals().downloadThread);
    // A button pressed twice leaves an earlier worker the handles no longer
    // name; it is stopped as well.
    StopAllWorkers();
    StartFormUnits().SetStatusText(kText.kWorkersStopped);
}

void ClearButtonClicked(forms::EventCall&)
{
    StartFormUnits().DeleteAllRows();
}

void FolderButtonClicked(forms::EventCall&)
{
    WriteBoolProperty(kPictureBoxId, kVisibleProperty, false);
    WriteBoolProperty(kReportListId, kVisibleProperty, true);
    OwnedText folder = BrowseForFolder({.title = kText.kChooseFolderTitle});
    // The chooser is a window of its own: while it was open the form may
    // have gone (the program ending); then there is no box to fill.
    if (!forms::ResolveUnit(kStartFormId, kSaveFolderBoxId))
        return;
    ApplicationGlobals& globals = Globals();
    runtime::GetRuntimeInterface().runtimeFree(globals.chosenFolder);
    globals.chosenFolder = folder.release();
    WriteTextProperty(kSaveFolderBoxId, kContentProperty, globals.chosenFolder);
    WriteBoolProperty(kSaveFolderBoxId, kDisabledProperty, true);
}

}  // namespace vellumry::app
