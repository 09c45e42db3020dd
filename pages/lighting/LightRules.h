#pragma once
#include <QString>

#include <array>
#include <cstdint>

// What the lighting page shows for the light bytes of the device image and what it writes back.
// No widgets here.
namespace LightRules {

constexpr int RowCount = 7;

// The effect row for the on/off byte (0x49) and the effect byte (0x43): off or effect 0 -> row 0,
// effect 1 -> row 5, 6 and 7 -> row 6, 2 to 5 -> row e - 1. An effect from 8 on names no row:
// the row stays `currentRow`.
int rowForImage(int onOff, int effect, int currentRow);

// The mode that row `row` writes (SetLightMode): row 0 -> 0 (light off), rows 1 to 4 -> row + 1,
// row 5 -> 1, row 6 -> 6; -1 for any other row.
int modeForRow(int row);

// Slider position (1..10) for a brightness or speed byte: byte + 1, held to 1..10.
int sliderForByte(int byte);

// Rows 5 and 6 are offered after a fill from an image, or after a reset, for these models.
bool offersRowsFiveSixAfterFill(int mid);
bool offersRowsFiveSixAfterReset(int mid);
// The row a reset selects: 5 for the models that offer it, 3 for the others.
int resetRow(int mid);
// Models whose light the page leaves alone: a fill fills nothing (5, 15); a reset resets
// nothing (5, 15, 20).
bool fillsNothing(int mid);
bool resetsNothing(int mid);

struct Preset {
    char letter;  // toolButtonColor<letter>
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};
extern const std::array<Preset, 14> Presets;

// The preview square's style sheet for a colour.
QString previewStyle(int red, int green, int blue);

}  // namespace LightRules
