// The window thread behind WindowThread.h: the thread of the Qt application
// object. The carried calls themselves are in WindowCall.cpp.

#include "platform/ui/WindowThread.h"

#include <QCoreApplication>
#include <QThread>

namespace vellumry::ui {

bool OnWindowThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

}  // namespace vellumry::ui
