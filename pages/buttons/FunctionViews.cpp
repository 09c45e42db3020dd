#include "pages/buttons/FunctionViews.h"

namespace FunctionViews {

const LockButton LockButtons[LockButtonCount] = {
    {"VolumeUp_11", 100}, {"VolumeUp_12", 200}, {"VolumeUp_13", 300}, {"VolumeUp_16", 400},
    {"VolumeUp_15", 500}, {"VolumeUp_19", 600}, {"VolumeUp_20", 700}, {"VolumeUp_22", 800},
    {"VolumeUp_18", 900}, {"VolumeUp_24", 1000}, {"VolumeUp_23", 1100}, {"VolumeUp_21", 1200},
};

const FixedFunction FixedFunctions[FixedFunctionCount] = {
    {"LeftKey_3", {1, 1, 0}, true},      {"RightKey_3", {1, 2, 0}, true},    {"MidKey", {1, 4, 0}, true},
    {"BackKey_2", {1, 8, 0}, true},      {"ForWardKey", {1, 16, 0}, true},   {"DPI_2", {7, 0, 0}, true},
    {"DPI_3", {9, 0, 0}, true},          {"DPI_5", {0, 0, 0}, true},         {"VolumeUp_14", {11, 1, 0}, false},
    {"VolumeDown_14", {11, 2, 0}, false}, {"VolumeUp_2", {3, 1, 0}, false},  {"VolumeDown_2", {3, 2, 0}, false},
    {"VolumeUp_8", {2, 1, 0}, false},    {"VolumeUp_9", {2, 2, 0}, false},   {"VolumeUp_10", {2, 3, 0}, false},
    {"VolumeUp_4", {8, 0, 0}, false},    {"VolumeUp_5", {8, 1, 0}, false},   {"VolumeUp_7", {8, 3, 0}, false},
};

namespace {

// Media buttons by the low byte of their usage, in the order the media list scrolls by.
const struct {
    uint8_t lowByte;
    const char* button;
} MediaRows[] = {
    {0x83, "Player"},        {0xCD, "StartPause_2"},  {0xB5, "BackMusic_2"},   {0xB6, "TopMusic_2"},
    {0xB7, "Mute"},          {0xE2, "VolumeUp"},      {0xE9, "VolumeDown"},    {0xEA, "VolumeDown_4"},
    {0x8A, "VolumeDown_5"},  {0x92, "VolumeDown_6"},  {0x94, "VolumeDown_3"},  {0x23, "VolumeDown_8"},
    {0x21, "VolumeDown_9"},  {0x24, "VolumeDown_10"}, {0x25, "VolumeDown_7"},  {0x26, "VolumeDown_12"},
    {0x27, "VolumeDown_13"}, {0x2A, "VolumeDown_11"},
};

OpenedView view(const char* page, QStringList checked, int steps)
{
    OpenedView v;
    v.opens = true;
    v.page = QString::fromLatin1(page);
    v.checked = checked;
    v.steps = steps;
    return v;
}

}  // namespace

OpenedView viewOfBinding(int type, int code1, const ButtonComboRecord& combo, int lockValue)
{
    switch (type) {
    case 0:
        return view("page_9", {"DPI_5"}, 9);
    case 1: {
        const char* names[] = {"LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey"};
        for (int i = 0; i < 5; ++i) {
            if (code1 == (1 << i))
                return view("page_9", {QString::fromLatin1(names[i])}, i);
        }
        return view("page_9", {}, 0);
    }
    case 2: {
        OpenedView v = view("page_7", {"DPI_7"}, 13);
        const char* names[] = {"VolumeUp_8", "VolumeUp_9", "VolumeUp_10"};
        if (code1 >= 1 && code1 <= 3)
            v.checked << QString::fromLatin1(names[code1 - 1]);
        return v;
    }
    case 3: {
        OpenedView v = view("page_4", {"DPI_11"}, 10);
        if (code1 == 1)
            v.checked << QStringLiteral("VolumeUp_2");
        else if (code1 == 2)
            v.checked << QStringLiteral("VolumeDown_2");
        return v;
    }
    case 4:
        return view("page_9", {"DPI_6"}, 7);
    case 5: {
        if (combo.events[0].kind == 2) {
            const uint8_t low = uint8_t(combo.events[0].code & 0xFF);
            for (int row = 0; row < int(sizeof MediaRows / sizeof MediaRows[0]); ++row) {
                if (MediaRows[row].lowByte == low) {
                    OpenedView v = view("page_3", {"DPI_12", QString::fromLatin1(MediaRows[row].button)}, 16);
                    v.mediaRow = row;
                    return v;
                }
            }
        }
        return view("page_9", {"DPI_8"}, 8);
    }
    case 6: {
        OpenedView v = view("page_5", {"DPI_10"}, 15);
        v.macro = true;
        return v;
    }
    case 7:
        return view("page_9", {"DPI_2"}, 5);
    case 8: {
        OpenedView v = view("page_6", {"DPI_9"}, 12);
        // Code 4 is an older code of the effect cycle; code 2 is never written.
        if (code1 == 0)
            v.checked << QStringLiteral("VolumeUp_4");
        else if (code1 == 1)
            v.checked << QStringLiteral("VolumeUp_5");
        else if (code1 == 3 || code1 == 4)
            v.checked << QStringLiteral("VolumeUp_7");
        return v;
    }
    case 9:
        return view("page_9", {"DPI_3"}, 6);
    case 10: {
        OpenedView v = view("page_8", {"DPI_4"}, 15);
        for (int i = 0; i < LockButtonCount; ++i) {
            if (LockButtons[i].dpi == lockValue) {
                v.checked << QString::fromLatin1(LockButtons[i].button);
                v.lockIndex = i;
            }
        }
        return v;
    }
    case 11: {
        OpenedView v = view("page_10", {"DPI_13"}, 10);
        if (code1 == 1)
            v.checked << QStringLiteral("VolumeUp_14");
        else if (code1 == 2)
            v.checked << QStringLiteral("VolumeDown_14");
        return v;
    }
    default:
        return OpenedView{};
    }
}

}  // namespace FunctionViews
