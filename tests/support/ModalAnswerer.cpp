#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>

#include <algorithm>

ModalAnswerer::ModalAnswerer(int intervalMs)
    : m_default(reject())
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::check);
    m_timer.start();
}

ModalAnswerer::~ModalAnswerer() = default;

ModalAnswerer& ModalAnswerer::on(const QString& classOrObjectName, Handler handler)
{
    m_rules.append(Rule{classOrObjectName, std::move(handler)});
    return *this;
}

void ModalAnswerer::setDefault(Handler handler)
{
    m_default = std::move(handler);
}

bool ModalAnswerer::waitForCount(int count, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (m_handled.size() < count && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return m_handled.size() >= count;
}

void ModalAnswerer::check()
{
    m_answered.erase(std::remove_if(m_answered.begin(), m_answered.end(),
                                    [](const QPointer<QWidget>& shown) { return !shown || !shown->isVisible(); }),
                     m_answered.end());
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || m_answered.contains(modal))
        return;
    m_answered.append(modal);  // each showing of a modal widget is answered once
    const QString className = QString::fromLatin1(modal->metaObject()->className());
    m_handled.append(className);
    Handler handler = m_default;
    for (const Rule& rule : m_rules) {
        if (rule.name == className || rule.name == modal->objectName()) {
            handler = rule.handler;
            break;
        }
    }
    // Answer from a fresh event, so a handler that opens its own modal dialog does not block
    // this timer (a timer is not fired again while its own slot runs).
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [handler, target] {
        if (target && handler)
            handler(target);
    });
}

void ModalAnswerer::answerWhen(QWidget* dialog, std::function<bool(QWidget*)> ready,
                               std::function<void(QWidget*, bool)> answer, int limitMs)
{
    auto* poll = new QTimer(dialog);  // goes with the dialog
    QElapsedTimer clock;
    clock.start();
    connect(poll, &QTimer::timeout, dialog, [dialog, poll, ready, answer, clock, limitMs] {
        const bool isReady = ready(dialog);
        if (!isReady && clock.elapsed() <= limitMs)
            return;
        poll->stop();
        answer(dialog, isReady);
    });
    poll->start(20);
}

ModalAnswerer::Handler ModalAnswerer::clickButton(const QString& objectName)
{
    return [objectName](QWidget* modal) {
        if (auto* button = modal->findChild<QAbstractButton*>(objectName)) {
            button->click();
            return;
        }
        reject()(modal);
    };
}

ModalAnswerer::Handler ModalAnswerer::reject()
{
    return done(QDialog::Rejected);
}

ModalAnswerer::Handler ModalAnswerer::done(int result)
{
    return [result](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(result);
        else
            modal->close();
    };
}
