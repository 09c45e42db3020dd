#pragma once
// Sends key events through a window as the platform delivers them: to the window first, which
// hands them to its focus widget. QTest's key clicks go to a widget directly and carry no native
// codes; these carry a native scan code (X11 key code) and key symbol when given.
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace keys {

struct Key {
    int qtKey;
    QString text;
    quint32 scanCode = 0;
    quint32 symbol = 0;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Common keys with their X11 codes on a US keyboard.
inline Key letter(char upper)
{
    static const quint32 scan[26] = {38, 56, 54, 40, 26, 41, 42, 43, 31, 44, 45, 46, 58,
                                     57, 32, 33, 24, 27, 39, 28, 30, 55, 25, 53, 29, 52};
    const int index = upper - 'A';
    return Key{Qt::Key_A + index, QString(QChar(upper)).toLower(), scan[index], quint32('a' + index)};
}

// One press or release sent to the top-level window of `widget`. Returns whether it was delivered.
bool send(QWidget* widget, QEvent::Type type, const Key& key, bool autoRepeat = false);

inline bool press(QWidget* widget, const Key& key, bool autoRepeat = false)
{
    return send(widget, QEvent::KeyPress, key, autoRepeat);
}
inline bool release(QWidget* widget, const Key& key, bool autoRepeat = false)
{
    return send(widget, QEvent::KeyRelease, key, autoRepeat);
}
inline void tap(QWidget* widget, const Key& key)
{
    press(widget, key);
    release(widget, key);
}

}  // namespace keys
