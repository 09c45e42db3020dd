#include "support/KeySender.h"

#include <QCoreApplication>
#include <QWindow>

namespace keys {

bool send(QWidget* widget, QEvent::Type type, const Key& key, bool autoRepeat)
{
    QWindow* window = widget ? widget->window()->windowHandle() : nullptr;
    if (!window)
        return false;
    QKeyEvent event(type, key.qtKey, key.modifiers, key.scanCode, key.symbol, 0, key.text, autoRepeat);
    QCoreApplication::sendEvent(window, &event);
    return true;
}

}  // namespace keys
