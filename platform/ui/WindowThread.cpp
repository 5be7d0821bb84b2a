// The window thread behind WindowThread.h: the thread of the Qt application
// object. Blocking work is carried by a blocking queued call into that
// thread's event loop; posted work by a queued call.

#include "platform/ui/WindowThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace vellumry::ui {

bool OnWindowThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void detail::RunBlocking(void (*call)(void* context), void* context)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        call(context);
        return;
    }
    QMetaObject::invokeMethod(app, [call, context] { call(context); }, Qt::BlockingQueuedConnection);
}

void PostToWindowThread(std::function<void()> work)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

}  // namespace vellumry::ui
