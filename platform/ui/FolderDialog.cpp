// The modal folder dialog (FolderDialog.h) on QFileDialog.

#include "platform/ui/FolderDialog.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/private/UnseenPlatform.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {

std::optional<std::string> AskForFolderWithDialog(HWND owner, const std::string& title,
                                                  const std::string& initialFolder, bool includeFiles)
{
    if (NobodySeesWindows())
        return std::nullopt;
    return RunOnWindowThread([&]() -> std::optional<std::string> {
        QFileDialog dialog(WidgetOf(owner), QString::fromStdString(title), QString::fromStdString(initialFolder));
        dialog.setFileMode(includeFiles ? QFileDialog::ExistingFile : QFileDialog::Directory);
        if (!includeFiles)
            dialog.setOption(QFileDialog::ShowDirsOnly, true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first().toStdString();
    });
}

}  // namespace vellumry::ui
