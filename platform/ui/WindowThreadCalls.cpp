// The window thread behind WindowThreadCalls.h: the thread of the Qt application
// object. The carried calls themselves are in WindowCall.cpp.

#include "platform/ui/WindowThreadCalls.h"

#include <QCoreApplication>
#include <QThread>

namespace vellumry::ui {

bool OnWindowThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

}  // namespace vellumry::ui
