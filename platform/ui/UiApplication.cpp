#include "platform/ui/UiApplication.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <chrono>

#include <sys/syscall.h>
#include <unistd.h>

#include "platform/ui/WindowObject.h"
#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/private/KeyTranslation.h"
#include "platform/ui/private/MessageBoxPresenter.h"
#include "platform/ui/private/WindowTable.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {
namespace {

UiApplication* g_instance = nullptr;

LPARAM ClientPoint(const QPointF& p)
{
    auto x = static_cast<std::uint32_t>(static_cast<int>(p.x()) & 0xFFFF);
    auto y = static_cast<std::uint32_t>(static_cast<int>(p.y()) & 0xFFFF);
    return static_cast<LPARAM>((y << 16) | x);
}

}  // namespace

// Watches every event of the application: offers keyboard and mouse-button
// messages for pre-translation and notes input that ends an idle period.
class UiApplication::EventHook : public QObject {
public:
    explicit EventHook(UiApplication& owner) : m_owner(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            m_owner.m_sawInput = true;
            break;
        case QEvent::MouseMove: {
            auto* move = static_cast<QMouseEvent*>(event);
            QPoint at = move->globalPosition().toPoint();
            if (at != m_lastMouse)
                m_owner.m_sawInput = true;
            m_lastMouse = at;
            break;
        }
        default:
            break;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWidgetType())
            return false;
        MSG message{};
        if (!Translate(widget, event, message))
            return false;
        // An event the target ignores travels on to its parents and passes
        // this filter again; it is offered once, for its first receiver.
        if (IsPropagation(event, widget))
            return false;
        m_lastEvent = event;
        m_lastType = event->type();
        m_lastReceiver = widget;
        return m_owner.PreTranslateMessage(message);
    }

private:
    bool IsPropagation(const QEvent* event, const QWidget* receiver) const
    {
        if (event != m_lastEvent || event->type() != m_lastType || !m_lastReceiver)
            return false;
        for (const QWidget* w = m_lastReceiver; w; w = w->parentWidget())
            if (w->parentWidget() == receiver)
                return true;
        return false;
    }

    // The window of the widget or of its nearest ancestor inside the same
    // top-level widget. A popup, a context menu or a dialog is a top-level
    // widget of its own even when Qt gives it a parent: its keys belong to
    // it, never to the form beneath, so the search stops at its edge.
    static HWND WindowWithinTopLevel(const QWidget* widget)
    {
        for (const QWidget* w = widget; w; w = w->parentWidget()) {
            if (WindowRecord* record = WindowTable::Instance().FindExact(w))
                return record->handle;
            if (w->isWindow())
                break;
        }
        return nullptr;
    }

    static bool Translate(QWidget* widget, QEvent* event, MSG& message)
    {
        HWND window = WindowWithinTopLevel(widget);
        if (!window)
            return false;
        message.hwnd = window;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            WPARAM vk = VirtualKeyOf(*key);
            if (vk == 0)
                return false;
            bool alt = key->modifiers() & Qt::AltModifier;
            bool press = event->type() == QEvent::KeyPress;
            message.message = press ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
            message.wParam = vk;
            message.lParam = 1 | (alt ? (1 << 29) : 0);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            bool left = mouse->button() == Qt::LeftButton;
            bool right = mouse->button() == Qt::RightButton;
            if (!left && !right)
                return false;
            bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
            message.message = left ? (doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_RBUTTONDOWN;
            QWidget* target = WidgetOf(window);
            QPointF at = target ? target->mapFromGlobal(mouse->globalPosition()) : mouse->position();
            message.lParam = ClientPoint(at);
            message.pt = {static_cast<LONG>(mouse->globalPosition().x()),
                          static_cast<LONG>(mouse->globalPosition().y())};
            return true;
        }
        default:
            return false;
        }
    }

    UiApplication& m_owner;
    QPoint m_lastMouse;
    const QEvent* m_lastEvent = nullptr;
    QEvent::Type m_lastType = QEvent::None;
    QPointer<QWidget> m_lastReceiver;
};

UiApplication::UiApplication(int& argc, char** argv)
    : m_app(std::make_unique<QApplication>(argc, argv)), m_hook(std::make_unique<EventHook>(*this))
{
    g_instance = this;
    m_app->installEventFilter(m_hook.get());
    InstallMessageBoxPresenter();
}

UiApplication::~UiApplication()
{
    m_app->removeEventFilter(m_hook.get());
    RemoveMessageBoxPresenter();
    g_instance = nullptr;
}

UiApplication* UiApplication::Instance()
{
    return g_instance;
}

int UiApplication::Run()
{
    if (InitInstance())
        RunLoop([this](long count) { return OnIdle(count); });
    return ExitInstance();
}

bool UiApplication::OnIdle(long count)
{
    // The framework's own idle work: release what was deleted later. One
    // step is enough; more steps bring nothing new.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return count < 1;
}

bool UiApplication::OfferToWindowObjects(MSG& message)
{
    for (HWND window = message.hwnd; window; window = GetParent(window)) {
        WindowObject* object = WindowObject::FromHandle(window);
        if (!object)
            object = reinterpret_cast<WindowObject*>(SendMessageA(window, kMessageQueryWindowObject, 0, 0));
        if (object && object->PreTranslateMessage(message))
            return true;
        // Top-level windows end the chain: an owner is not a parent here.
        QWidget* widget = WidgetOf(window);
        if (!widget || widget->isWindow())
            break;
    }
    return false;
}

bool UiApplication::PreTranslateMessage(MSG& message)
{
    return OfferToWindowObjects(message);
}

UiApplication::PumpResult UiApplication::PumpWaiting()
{
    PumpResult result;
    m_sawInput = false;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    // Everything that is waiting now, but no more than a bounded number of
    // rounds, so a stream of posted work cannot starve the idle steps.
    for (int round = 0; round < 64 && !m_quitSeen; ++round) {
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
        result.dispatched = true;
    }
    result.input = m_sawInput;
    return result;
}

UiApplication::PumpResult UiApplication::WaitForMessage()
{
    PumpResult result;
    if (m_quitSeen)
        return result;
    // The wait dispatches what wakes it: input among that ends the idle
    // period just as input found by PumpWaiting does.
    m_sawInput = false;
    result.dispatched =
        QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    result.input = m_sawInput;
    return result;
}

std::uint32_t UiApplication::IdleMilliseconds() const
{
    auto elapsed = std::chrono::steady_clock::now() - m_idleStart;
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void UiApplication::PostQuit(int code)
{
    // Called on the window thread by PostQuitMessage.
    m_quitSeen = true;
    m_quitCode = code;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(m_app->thread()))
        dispatcher->wakeUp();
}

void UiApplication::RunLoop(const std::function<bool(long)>& idle, const std::function<bool()>& stop)
{
    bool idleWanted = true;
    long idleCount = 0;
    auto periodStart = std::chrono::steady_clock::now();
    // Input, whether the pump or the wait dispatched it, starts a new idle
    // period: the count restarts, and so does the clock of the period.
    auto noteInput = [&](const PumpResult& result) {
        if (result.input) {
            idleWanted = true;
            idleCount = 0;
        }
    };
    while (!m_quitSeen && !(stop && stop())) {
        PumpResult pumped = PumpWaiting();
        if (m_quitSeen || (stop && stop()))
            break;
        noteInput(pumped);
        if (pumped.dispatched)
            continue;
        if (idleWanted && idle) {
            if (idleCount == 0)
                periodStart = std::chrono::steady_clock::now();
            // Set on every call: a loop nested in an idle step (a modal
            // form) must not leave its own period start behind.
            m_idleStart = periodStart;
            idleWanted = idle(idleCount++);
            continue;
        }
        PumpResult woken = WaitForMessage();
        idleWanted = true;
        noteInput(woken);
    }
}

}  // namespace vellumry::ui

void PostQuitMessage(int exitCode)
{
    using vellumry::ui::UiApplication;
    if (UiApplication::Instance()) {
        vellumry::ui::PostToWindowThread([exitCode] {
            if (UiApplication* current = UiApplication::Instance())
                current->PostQuit(exitCode);
        });
    }
}

DWORD GetCurrentThreadId()
{
    return static_cast<DWORD>(syscall(SYS_gettid));
}

short GetKeyState(int virtualKey)
{
    Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    bool down = false;
    switch (virtualKey) {
    case VK_SHIFT:
        down = modifiers & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = modifiers & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = modifiers & Qt::AltModifier;
        break;
    default:
        break;
    }
    return down ? static_cast<short>(0x8000) : 0;
}
