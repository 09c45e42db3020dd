#include "widgets/AfterHandler.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

namespace {

constexpr int HeldButtonPollMs = 20;
constexpr int HeldButtonLimitMs = 5000;

void runWhenReleased(QObject* receiver, std::function<void()> work, QElapsedTimer asked, int delayMs)
{
    QTimer::singleShot(delayMs, receiver, [receiver, work = std::move(work), asked]() mutable {
        if (QGuiApplication::mouseButtons() != Qt::NoButton && asked.elapsed() < HeldButtonLimitMs) {
            runWhenReleased(receiver, std::move(work), asked, HeldButtonPollMs);
            return;
        }
        work();
    });
}

}  // namespace

void runAfterHandler(QObject* receiver, std::function<void()> work)
{
    QTimer::singleShot(0, receiver, std::move(work));
}

void runAfterRelease(QObject* receiver, std::function<void()> work)
{
    QElapsedTimer asked;
    asked.start();
    runWhenReleased(receiver, std::move(work), asked, 0);
}
