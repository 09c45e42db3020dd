#include "support/FileReplacements.h"

#include <QFile>

#include <cerrno>

#include <sys/inotify.h>
#include <unistd.h>

FileReplacements::FileReplacements(const QString& folder)
    : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd >= 0)
        m_watch = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MOVED_FROM);
}

FileReplacements::~FileReplacements()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileReplacements::count(const QString& prefix)
{
    drain();
    int replaced = 0;
    for (const QString& name : m_names)
        replaced += name.startsWith(prefix) ? 1 : 0;
    return replaced;
}

void FileReplacements::drain()
{
    if (m_watch < 0)
        return;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0)
                m_names << QFile::decodeName(event->name);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}
