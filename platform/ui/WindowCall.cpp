#include "platform/ui/WindowCall.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <utility>

#include "platform/kernel/StopAwareWait.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/kernel/ThreadStop.h"

namespace vellumry::ui {
namespace {

enum class CallState { Pending, Running, Ran, Dropped };

struct CallRecord {
    std::mutex lock;
    std::condition_variable changed;
    CallState state = CallState::Pending;
    std::shared_ptr<CarriedCall> call;
    std::shared_ptr<kernel::ThreadControl> caller;  // null for threads CreateThread did not start
    std::exception_ptr failure;

    bool Settled() const { return state == CallState::Ran || state == CallState::Dropped; }

    void Settle(CallState final)
    {
        std::lock_guard guard(lock);
        state = final;
        changed.notify_all();
    }

    // Window thread: takes a pending call for running, or drops it when its
    // caller has been told to stop. False when there is nothing to run.
    bool Claim()
    {
        std::lock_guard guard(lock);
        if (state != CallState::Pending)
            return false;
        if (caller && caller->StopRequested()) {
            state = CallState::Dropped;
            changed.notify_all();
            return false;
        }
        state = CallState::Running;
        return true;
    }

    void DropIfPending()
    {
        std::lock_guard guard(lock);
        if (state == CallState::Pending) {
            state = CallState::Dropped;
            changed.notify_all();
        }
    }
};

// Travels with the queued delivery. When the last copy goes without the
// delivery having run (the application was destroyed with the call still
// queued), the call is dropped so that its caller stops waiting.
struct DeliveryToken {
    explicit DeliveryToken(std::shared_ptr<CallRecord> record) : record(std::move(record)) {}
    DeliveryToken(const DeliveryToken&) = delete;
    DeliveryToken& operator=(const DeliveryToken&) = delete;
    ~DeliveryToken() { record->DropIfPending(); }

    const std::shared_ptr<CallRecord> record;
};

void Deliver(CallRecord& record)
{
    if (!record.Claim())
        return;
    struct Served {
        kernel::ThreadControl* caller;
        explicit Served(kernel::ThreadControl* caller) : caller(caller)
        {
            if (caller)
                caller->BeginServedCall();
        }
        ~Served()
        {
            if (caller)
                caller->EndServedCall();
        }
    } served(record.caller.get());
    try {
        record.call->Run();
    } catch (...) {
        record.failure = std::current_exception();
    }
    record.Settle(CallState::Ran);
}

// Taken around posting and at the start of each delivery. Qt's posted-event
// queue orders the two already; this lock states that order in a form the
// thread checker sees, since it cannot see into Qt.
std::mutex& HandoffLock()
{
    static std::mutex lock;
    return lock;
}

// `caller` is the worker whose stop drops the call; null for none.
std::shared_ptr<CallRecord> Queue(std::shared_ptr<CarriedCall> call,
                                  std::shared_ptr<kernel::ThreadControl> caller = kernel::ThreadControl::CurrentShared())
{
    auto record = std::make_shared<CallRecord>();
    {
        std::lock_guard guard(record->lock);
        record->call = std::move(call);
        record->caller = std::move(caller);
    }
    auto token = std::make_shared<DeliveryToken>(record);
    QCoreApplication* app = QCoreApplication::instance();
    std::unique_lock handoff(HandoffLock());
    bool queued = app && QMetaObject::invokeMethod(
                             app,
                             [token] {
                                 { std::lock_guard delivered(HandoffLock()); }
                                 Deliver(*token->record);
                             },
                             Qt::QueuedConnection);
    handoff.unlock();
    if (!queued)
        record->DropIfPending();
    return record;
}

}  // namespace

bool MayCallWindow()
{
    if (!kernel::CurrentThreadStopRequested())
        return true;
    kernel::ThrowIfStopRequested();
    return false;
}

CarryOutcome CarryToWindowThread(std::shared_ptr<CarriedCall> call)
{
    if (!MayCallWindow())
        return CarryOutcome::Dropped;
    std::shared_ptr<CallRecord> record = Queue(std::move(call));
    auto settled = [&] { return record->Settled(); };
    if (kernel::WaitUnlessStopped(record->lock, record->changed, settled) == kernel::WaitOutcome::Stopped) {
        std::unique_lock lock(record->lock);
        if (record->state == CallState::Pending) {
            record->state = CallState::Dropped;
        } else {
            // Running: the window thread finishes it without waiting for us.
            record->changed.wait(lock, settled);
        }
    }
    if (record->state == CallState::Dropped) {
        kernel::ThrowIfStopRequested();
        return CarryOutcome::Dropped;
    }
    // Taken out of the record, so that the exception ends on this thread
    // whichever side lets go of the record last.
    std::exception_ptr failure;
    {
        std::lock_guard guard(record->lock);
        failure = std::exchange(record->failure, nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);
    return CarryOutcome::Ran;
}

void PostCallToWindowThread(std::shared_ptr<CarriedCall> call)
{
    if (MayCallWindow())
        Queue(std::move(call));
}

void PostNoticeCallToWindowThread(std::shared_ptr<CarriedCall> call)
{
    Queue(std::move(call), nullptr);
}

}  // namespace vellumry::ui
