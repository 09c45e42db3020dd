#include "pages/buttons/SelectorTable.h"

namespace SelectorTable {

namespace {

const char* const SelectorNames[Count] = {"FireKey", "RightKey", "BackKey", "TopMusic",
                                          "StartPause", "BackMusic", "Button7", "Button8"};
const int DeviceKeys[Count] = {0, 1, 2, 3, 4, 5, 9, 11};
constexpr int MaxKeyCount = 8;

}  // namespace

QString selectorName(int bindingIndex)
{
    if (bindingIndex < 0 || bindingIndex >= Count)
        return QString();
    return QString::fromLatin1(SelectorNames[bindingIndex]);
}

int deviceKey(int bindingIndex)
{
    if (bindingIndex >= 0 && bindingIndex < Count)
        return DeviceKeys[bindingIndex];
    return bindingIndex;
}

int bindingIndexOfKey(int key)
{
    for (int i = 0; i < Count; ++i) {
        if (DeviceKeys[i] == key)
            return i;
    }
    return -1;
}

int macroKeyCode(int bindingIndex)
{
    constexpr int SeventhKey = 6;
    return bindingIndex == SeventhKey ? SeventhKey : deviceKey(bindingIndex);
}

int keyCountFromCatalogue(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || count < 0)
        return 0;
    return qMin(count, MaxKeyCount);
}

Bindings bindingsFromImage(const FlashDataMap& image, int count)
{
    Bindings out;
    for (int i = 0; i < count && i < MaxKeyCount; ++i) {
        const ButtonBinding& b = image.buttons[deviceKey(i)];
        out.type.append(b.type);
        out.code1.append(b.code1);
        out.code2.append(b.code2);
    }
    return out;
}

ButtonBinding factoryBinding(int bindingIndex, int modelId)
{
    static const ButtonBinding table[Count] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0},
                                               {1, 16, 0}, {2, 1, 0}, {8, 3, 0}, {2, 3, 0}};
    if (bindingIndex < 0 || bindingIndex >= Count)
        return ButtonBinding{0, 0, 0};
    if (bindingIndex == 5 && modelId == 15)
        return ButtonBinding{7, 0, 0};
    return table[bindingIndex];
}

namespace {

// The button that opens the function list of a type whose codes have buttons of their own: it
// names a code the page has no button for better than the previous binding's name would.
QString functionGroupButton(int type)
{
    switch (type) {
    case 2:
        return QStringLiteral("DPI_7");
    case 3:
        return QStringLiteral("DPI_11");
    case 8:
        return QStringLiteral("DPI_9");
    case 11:
        return QStringLiteral("DPI_13");
    }
    return QString();
}

}  // namespace

QString functionButtonOfBinding(int type, int code1)
{
    switch (type) {
    case 0:
        return QStringLiteral("DPI_5");
    case 1:
        switch (code1) {
        case 1: return QStringLiteral("LeftKey_3");
        case 2: return QStringLiteral("RightKey_3");
        case 4: return QStringLiteral("MidKey");
        case 8: return QStringLiteral("BackKey_2");
        case 16: return QStringLiteral("ForWardKey");
        }
        break;
    case 2:
        switch (code1) {
        case 1: return QStringLiteral("VolumeUp_8");
        case 2: return QStringLiteral("VolumeUp_9");
        case 3: return QStringLiteral("VolumeUp_10");
        }
        break;
    case 3:
        if (code1 == 1)
            return QStringLiteral("VolumeUp_2");
        if (code1 == 2)
            return QStringLiteral("VolumeDown_2");
        break;
    case 4:
        return QStringLiteral("DPI_6");
    case 7:
        return QStringLiteral("DPI_2");
    case 8:
        switch (code1) {
        case 0: return QStringLiteral("VolumeUp_4");
        case 1: return QStringLiteral("VolumeUp_5");
        case 3:
        case 4:  // an older firmware's code for the same effect cycle
            return QStringLiteral("VolumeUp_7");
        }
        break;
    case 9:
        return QStringLiteral("DPI_3");
    case 11:
        if (code1 == 1)
            return QStringLiteral("VolumeUp_14");
        if (code1 == 2)
            return QStringLiteral("VolumeDown_14");
        break;
    }
    return functionGroupButton(type);
}

QVector<QPoint> markerPositions(int pictureIndex)
{
    switch (static_cast<unsigned>(pictureIndex)) {
    case 0:
    case 1:
        return {{140, 190}, {50, 150}, {110, 138}, {265, 173}, {305, 140}, {320, 220}};
    case 3:
    case 8:
        return {{90, 65}, {190, 65}, {140, 65}, {55, 138}, {55, 175}, {287, 175}};
    case 9:
        return {{85, 65}, {185, 65}, {134, 65}, {45, 135}, {45, 170}, {226, 135}};
    case 10:
        return {{82, 68}, {182, 68}, {132, 68}, {32, 132}, {32, 175}, {224, 145}};
    default:
        return {{90, 65}, {190, 65}, {140, 65}, {55, 138}, {55, 175}, {223, 175}};
    }
}

bool modelShowsSeventhKey(int modelId)
{
    return modelId == 6 || modelId == 10 || modelId == 13;
}

bool modelSwapsSideRows(int modelId)
{
    return modelId == 4 || modelId == 5 || modelId == 6;
}

QString buttonTextOfName(const QString& name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString nameOfButtonText(const QString& text)
{
    QString name = text;
    return name.replace(QLatin1String("&&"), QLatin1String("&"));
}

}  // namespace SelectorTable
