#pragma once

// Carrying work over to the window thread. Windows belong to the thread that
// runs the Qt application; a call that touches one from another thread is
// handed to that thread and waits for its result. Without a running
// application (tests that never make one) the work runs on the caller.

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <type_traits>
#include <utility>

namespace vellumry::ui {

inline bool OnWindowThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

template <typename Work>
auto RunOnWindowThread(Work&& work) -> decltype(work())
{
    using Result = decltype(work());
    if (OnWindowThread())
        return work();
    QCoreApplication* app = QCoreApplication::instance();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, std::forward<Work>(work), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            app, [&] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

// Queues work for the window thread and returns at once.
template <typename Work>
void PostToWindowThread(Work&& work)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::forward<Work>(work), Qt::QueuedConnection);
}

}  // namespace vellumry::ui
