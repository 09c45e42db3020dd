#include "pages/macro/VirtualKeyCodes.h"

#include <QHash>
#include <QKeyEvent>

namespace {

struct Pair {
    int from;
    int code;
};

// Keys whose code does not depend on the keypad or on the side.
const Pair QtKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27}, {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39},
    {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_SysReq, 44}, {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46}, {Qt::Key_Super_L, 91}, {Qt::Key_Super_R, 92}, {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93}, {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    {Qt::Key_Shift, 160}, {Qt::Key_Control, 162}, {Qt::Key_Alt, 164}, {Qt::Key_AltGr, 165},
    // Punctuation, and the US shifted symbols as the keys that give them.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222}, {Qt::Key_Exclam, 49}, {Qt::Key_At, 50}, {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52}, {Qt::Key_Percent, 53}, {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56}, {Qt::Key_ParenLeft, 57}, {Qt::Key_ParenRight, 48},
    // Browser, volume, media and launch keys.
    {Qt::Key_Back, 166}, {Qt::Key_Forward, 167}, {Qt::Key_Refresh, 168}, {Qt::Key_Stop, 169},
    {Qt::Key_Search, 170}, {Qt::Key_Favorites, 171}, {Qt::Key_HomePage, 172},
    {Qt::Key_VolumeMute, 173}, {Qt::Key_VolumeDown, 174}, {Qt::Key_VolumeUp, 175},
    {Qt::Key_MediaNext, 176}, {Qt::Key_MediaPrevious, 177}, {Qt::Key_MediaStop, 178},
    {Qt::Key_MediaPlay, 179}, {Qt::Key_MediaPause, 179}, {Qt::Key_MediaTogglePlayPause, 179},
    {Qt::Key_LaunchMail, 180}, {Qt::Key_LaunchMedia, 181}, {Qt::Key_Launch0, 182},
    {Qt::Key_Launch1, 183}, {Qt::Key_Calculator, 183},
};

// Keypad keys by their Qt key while the keypad modifier is set; other keypad keys (navigation
// with NumLock off) are the main keys.
const Pair KeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109}, {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111}, {Qt::Key_Enter, 13}, {Qt::Key_Return, 13},
    {Qt::Key_Clear, 12},
};

// Native key symbols (X11 keysyms) that tell the side of a modifier.
const Pair SideSymbols[] = {
    {0xFFE1, 160}, {0xFFE2, 161}, {0xFFE3, 162}, {0xFFE4, 163}, {0xFFE9, 164}, {0xFFEA, 165},
    {0xFE03, 165}, {0xFFEB, 91}, {0xFFE7, 91}, {0xFFEC, 92}, {0xFFE8, 92},
};

// The main block by position: X11 key codes (evdev codes + 8) of a US keyboard.
const Pair MainBlockScanCodes[] = {
    {10, 49}, {11, 50}, {12, 51}, {13, 52}, {14, 53}, {15, 54}, {16, 55}, {17, 56}, {18, 57},
    {19, 48}, {20, 189}, {21, 187}, {24, 81}, {25, 87}, {26, 69}, {27, 82}, {28, 84}, {29, 89},
    {30, 85}, {31, 73}, {32, 79}, {33, 80}, {34, 219}, {35, 221}, {38, 65}, {39, 83}, {40, 68},
    {41, 70}, {42, 71}, {43, 72}, {44, 74}, {45, 75}, {46, 76}, {47, 186}, {48, 222}, {49, 192},
    {51, 220}, {52, 90}, {53, 88}, {54, 67}, {55, 86}, {56, 66}, {57, 78}, {58, 77}, {59, 188},
    {60, 190}, {61, 191},
};

template <size_t N>
QHash<int, int> tableOf(const Pair (&pairs)[N])
{
    QHash<int, int> table;
    for (const Pair& pair : pairs)
        table.insert(pair.from, pair.code);
    return table;
}

int lookUp(const QHash<int, int>& table, int key)
{
    return table.value(key, -1);
}

}  // namespace

int virtualKeyCode(const QKeyEvent& event)
{
    static const QHash<int, int> qtKeys = tableOf(QtKeys);
    static const QHash<int, int> keypadKeys = tableOf(KeypadKeys);
    static const QHash<int, int> sideSymbols = tableOf(SideSymbols);
    static const QHash<int, int> mainBlock = tableOf(MainBlockScanCodes);

    const int key = event.key();
    const auto scanCode = static_cast<int>(event.nativeScanCode());

    if (event.modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 96 + (key - Qt::Key_0);
        const int code = lookUp(keypadKeys, key);
        if (code >= 0)
            return code;
    }
    const int side = lookUp(sideSymbols, static_cast<int>(event.nativeVirtualKey()));
    if (side >= 0)
        return side;
    // The digit row gives its digit whatever the layout or Shift put on it.
    if (scanCode >= 10 && scanCode <= 19)
        return lookUp(mainBlock, scanCode);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    const int code = lookUp(qtKeys, key);
    if (code >= 0)
        return code;
    // Letters of other scripts (Cyrillic, Hangul, kana) by the key they sit on.
    const int placed = lookUp(mainBlock, scanCode);
    return placed >= 0 ? placed : UnknownVirtualKey;
}
