#pragma once

// Whether anybody can see the windows: not on the offscreen and minimal
// platforms of batch runs and tests, nor without a widget application.
// Any thread: it reads what the application was started with.

#include <QApplication>
#include <QGuiApplication>
#include <QString>

namespace vellumry::ui {

inline bool NobodySeesWindows()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

}  // namespace vellumry::ui
