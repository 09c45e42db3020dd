#include "app/QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int QuitSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> wakeFd{-1};

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : QuitSignalNumbers)
        sigaction(number, &action, nullptr);
}

// Async-signal-safe: a write and the default handlers back, nothing else.
void onQuitSignal(int)
{
    const int savedErrno = errno;
    setHandler(SIG_DFL);
    const int fd = wakeFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    wakeFd.store(ends[1]);
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::drain);
    setHandler(onQuitSignal);
}

QuitSignals::~QuitSignals()
{
    setHandler(SIG_DFL);
    const int writeEnd = wakeFd.exchange(-1);
    delete m_notifier;
    if (writeEnd >= 0)
        ::close(writeEnd);
    if (m_readEnd >= 0)
        ::close(m_readEnd);
}

void QuitSignals::drain()
{
    char bytes[16];
    bool woken = false;
    while (::read(m_readEnd, bytes, sizeof bytes) > 0)
        woken = true;
    if (woken)
        emit quitRequested();
}

void QuitSignals::closeOnRequest(QWidget* window)
{
    // The close does the program's own quit; the exit then ends every event loop, also when
    // another window (a dialog left open) would keep the application running after the close.
    connect(this, &QuitSignals::quitRequested, window, [window] {
        window->close();
        QCoreApplication::exit(0);
    });
}
