#include "support/StandardError.h"

#include <QTemporaryFile>

#include <cstdio>

#include <unistd.h>

QByteArray standardErrorOf(const std::function<void()>& run)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "cannot capture";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(capture.handle(), STDERR_FILENO);
    run();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}
