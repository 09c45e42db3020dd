#pragma once
#include <QEvent>
#include <QObject>

#include <functional>

// Calls `action` with the receiver whenever `watched` (the application object: any object)
// receives an event of `type`, before the receiver handles it.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, QEvent::Type type, std::function<void(QObject*)> action)
        : m_type(type)
        , m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == m_type)
            m_action(watched);
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type m_type;
    std::function<void(QObject*)> m_action;
};
