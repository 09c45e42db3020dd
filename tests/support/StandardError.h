#pragma once
#include <QByteArray>

#include <functional>

// What `run` writes to standard error (the lines themselves do not show in the test's output).
QByteArray standardErrorOf(const std::function<void()>& run);
