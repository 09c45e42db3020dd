#pragma once

class QKeyEvent;

// The Windows virtual-key code of a key event, as the key tables and the recorder know keys.
// Keypad keys keep their own codes (96 to 111, Enter 13, keypad 5 without NumLock 12); the two
// sides of Shift, Ctrl, Alt and Win follow the native key symbol (the left one without it); the
// digit row and keys of non-Latin layouts go by their position (native scan code), as on
// Windows. Media and browser keys give 166 to 183; a key of no code gives 255.
int virtualKeyCode(const QKeyEvent& event);

// The code no key name is given for.
constexpr int UnknownVirtualKey = 255;
