#pragma once
#include <QMouseEvent>

// The hand's rule for a control with mouse handlers of its own: a press the control takes is
// accepted, and so are every move and the release that follow it, so none of them reaches the
// frameless window's drag. A press the control does not take is left to its parents, and so
// are its moves and its release: the window drags from it.
class OwnedPress {
public:
    // Takes the press when `take` holds; returns whether it did.
    bool press(QMouseEvent* event, bool take)
    {
        m_owned = take;
        event->setAccepted(take);
        return take;
    }
    // A move: true when it belongs to a press the control took.
    bool move(QMouseEvent* event) const
    {
        event->setAccepted(m_owned);
        return m_owned;
    }
    // The release: true when it ends a press the control took.
    bool release(QMouseEvent* event)
    {
        const bool owned = m_owned;
        m_owned = false;
        event->setAccepted(owned);
        return owned;
    }
    bool owned() const { return m_owned; }

private:
    bool m_owned = false;
};
