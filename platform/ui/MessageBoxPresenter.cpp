// The modal box behind MessageBoxA: a QMessageBox with the caption, the text,
// the icon the type asks for and one OK button. Where nobody can answer it
// (the offscreen and minimal platforms of batch runs and tests) it is not
// shown; the text has already gone to standard error.

#include <QApplication>
#include <QMessageBox>

#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/private/UnseenPlatform.h"
#include "platform/ui/private/MessageBoxPresenter.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "platform/user/MessageBox.h"

namespace vellumry::ui {
namespace {

int Present(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    if (NobodySeesWindows())
        return IDOK;
    return RunOnWindowThread([&]() -> int {
        QMessageBox box(WidgetOf(owner));
        box.setWindowTitle(QString::fromStdString(caption));
        box.setText(QString::fromStdString(text));
        box.setIcon((type & MB_ICONERROR) ? QMessageBox::Critical : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return IDOK;
    });
}

}  // namespace

void InstallMessageBoxPresenter()
{
    user::SetMessageBoxPresenter(Present);
}

void RemoveMessageBoxPresenter()
{
    user::SetMessageBoxPresenter(nullptr);
}

}  // namespace vellumry::ui
