#pragma once

// The application framework on Qt: one application object per process with an
// initialise-instance / exit-instance pair, a message pump with idle
// processing, and message pre-translation.
//
// Pre-translation: every keyboard message and mouse-button press is offered,
// before its window sees it, to PreTranslateMessage; the default offers it to
// the window object of the target window and then of each parent in turn
// (a window without an object is asked for one with the message 0x8002), and
// the first object that handles it consumes it.
//
// Window thread only, except PostQuitMessage.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/ui/WinUser.h"

class QApplication;

namespace vellumry::ui {

inline constexpr UINT kMessageQueryWindowObject = 0x8002;

class UiApplication {
public:
    UiApplication(int& argc, char** argv);
    virtual ~UiApplication();
    UiApplication(const UiApplication&) = delete;
    UiApplication& operator=(const UiApplication&) = delete;

    static UiApplication* Instance();

    // The framework's run: InitInstance; when it returns true the framework
    // pumps messages until the quit message; then ExitInstance, whose result
    // is the exit code.
    int Run();

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return m_quitCode; }
    // The framework's own idle work for one idle step; true asks for more.
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG& message);

    // Message pump primitives, for loops built on top.
    struct PumpResult {
        bool dispatched = false;  // something was processed
        bool input = false;       // a message that ends an idle period
    };
    PumpResult PumpWaiting();
    // Waits for the next message and dispatches what arrived.
    PumpResult WaitForMessage();
    bool QuitSeen() const { return m_quitSeen; }
    int QuitCode() const { return m_quitCode; }
    void ForgetQuit() { m_quitSeen = false; }
    void PostQuit(int code);

    // Pumps until the quit message or until `stop` answers true. While no
    // message waits, `idle` is called with a rising count until it answers
    // false; the count restarts after input, including input that ends a
    // wait.
    void RunLoop(const std::function<bool(long)>& idle, const std::function<bool()>& stop = {});
    // Milliseconds since the current idle period began: since the idle call
    // with count 0 of the innermost running loop.
    std::uint32_t IdleMilliseconds() const;

    // Offers a message to the window objects of its window and its parents.
    static bool OfferToWindowObjects(MSG& message);

    QApplication& Qt() { return *m_app; }

private:
    class EventHook;
    friend class EventHook;
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<EventHook> m_hook;
    bool m_quitSeen = false;
    int m_quitCode = 0;
    bool m_sawInput = false;
    std::chrono::steady_clock::time_point m_idleStart = std::chrono::steady_clock::now();
};

}  // namespace vellumry::ui
