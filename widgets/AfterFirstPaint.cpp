#include "widgets/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>

namespace {

// Watches for the first paint, hands the work on and goes; a child of the receiver, so it
// goes with it too.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QObject* watched, QObject* receiver, std::function<void()> work)
        : QObject(receiver)
        , m_watched(watched)
        , m_work(std::move(work))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_work) {
            m_watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), std::move(m_work));
            m_work = nullptr;
            deleteLater();
        }
        return QObject::eventFilter(object, event);
    }

private:
    QObject* m_watched;
    std::function<void()> m_work;
};

}  // namespace

void runAfterFirstPaint(QObject* watched, QObject* receiver, std::function<void()> work)
{
    new FirstPaintWatch(watched, receiver, std::move(work));
}
