#include "pages/lighting/LightRules.h"

#include <QtGlobal>

namespace LightRules {

namespace {
bool oneOf(int mid, std::initializer_list<int> mids)
{
    for (int m : mids) {
        if (m == mid)
            return true;
    }
    return false;
}
}  // namespace

int rowForImage(int onOff, int effect, int currentRow)
{
    if (onOff == 0 || effect == 0)
        return 0;
    if (effect == 1)
        return 5;
    if (effect == 6 || effect == 7)
        return 6;
    if (effect >= 2 && effect <= 5)
        return effect - 1;
    return currentRow;
}

int modeForRow(int row)
{
    if (row == 0)
        return 0;
    if (row >= 1 && row <= 4)
        return row + 1;
    if (row == 5)
        return 1;
    if (row == 6)
        return 6;
    return -1;
}

int sliderForByte(int byte)
{
    return qBound(1, byte + 1, 10);
}

bool offersRowsFiveSixAfterFill(int mid)
{
    return oneOf(mid, {4, 6, 10, 13, 14});
}

bool offersRowsFiveSixAfterReset(int mid)
{
    return oneOf(mid, {4, 6, 10, 13, 14, 19});
}

int resetRow(int mid)
{
    return offersRowsFiveSixAfterReset(mid) ? 5 : 3;
}

bool fillsNothing(int mid)
{
    return oneOf(mid, {5, 15});
}

bool resetsNothing(int mid)
{
    return oneOf(mid, {5, 15, 20});
}

const std::array<Preset, 14> Presets{{
    {'A', 255, 0, 0},
    {'B', 0, 255, 255},
    {'C', 0, 255, 0},
    {'D', 255, 0, 255},
    {'E', 255, 255, 0},
    {'F', 255, 80, 0},
    {'G', 0, 0, 255},
    {'H', 227, 0, 127},
    {'I', 46, 166, 223},
    {'J', 96, 25, 133},
    {'K', 255, 255, 255},
    {'L', 139, 178, 36},
    {'M', 255, 155, 51},
    {'N', 208, 113, 173},
}};

QString previewStyle(int red, int green, int blue)
{
    return QStringLiteral("QLabel{background-color: rgb(%1,%2,%3);border: 2px solid  rgb(220,220,220);}")
        .arg(red)
        .arg(green)
        .arg(blue);
}

}  // namespace LightRules
