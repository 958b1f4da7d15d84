#include "interruptwatcher.h"

#include <atomic>
#include <csignal>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

constexpr int pollIntervalMs = 50;

// The signal that asked for the stop; 0 before one did.
std::atomic_int stopSignal {0};
static_assert(
    std::atomic_int::is_always_lock_free, "a signal handler may only touch lock-free atomics");

#if defined(Q_OS_WIN)
// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // The second press goes on to the default handler, which ends the process.
    int none = 0;
    return stopSignal.compare_exchange_strong(none, SIGINT) ? TRUE : FALSE;
}
#elif defined(Q_OS_UNIX)
// A terminal's Ctrl-C, a service manager's or kill's stop, a closed terminal.
constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void onStopSignal(int signal)
{
    int none = 0;
    if (stopSignal.compare_exchange_strong(none, signal))
        return;
    // The second: the default action, once this handler returns.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

void installHandler()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#elif defined(Q_OS_UNIX)
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : stopSignals)
        sigaction(signal, &action, nullptr);
#endif
}

void removeHandler()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#elif defined(Q_OS_UNIX)
    for (const int signal : stopSignals)
        std::signal(signal, SIG_DFL);
#endif
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent)
    : QObject(parent)
{
    stopSignal = 0;
    connect(&poll, &QTimer::timeout, this, [this] {
        const int signal = stopSignal;
        if (signal == 0 || reported)
            return;
        reported = true;
        status = 128 + signal;
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
