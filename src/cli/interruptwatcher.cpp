#include "interruptwatcher.h"

#include <atomic>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <csignal>
#endif

namespace {

constexpr int pollIntervalMs = 50;

std::atomic_bool interruptRequested {false};
static_assert(
    std::atomic_bool::is_always_lock_free, "a signal handler may only touch lock-free atomics");

#if defined(Q_OS_WIN)
// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // The second press goes on to the default handler, which ends the process.
    return interruptRequested.exchange(true) ? FALSE : TRUE;
}
#elif defined(Q_OS_UNIX)
void onInterrupt(int)
{
    interruptRequested = true;
}
#endif

void installHandler()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#elif defined(Q_OS_UNIX)
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // The handler removes itself, so that a second Ctrl-C ends the process.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
#endif
}

void removeHandler()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#elif defined(Q_OS_UNIX)
    std::signal(SIGINT, SIG_DFL);
#endif
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent)
    : QObject(parent)
{
    interruptRequested = false;
    connect(&poll, &QTimer::timeout, this, [this] {
        if (!interruptRequested || reported)
            return;
        reported = true;
        poll.stop();
        emit interrupted();
    });
    installHandler();
    poll.start(pollIntervalMs);
}

InterruptWatcher::~InterruptWatcher()
{
    removeHandler();
}
