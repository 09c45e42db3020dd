#pragma once
#include <QPoint>
#include <QString>
#include <QVector>

#include "device/FlashDataMap.h"

// What the button page knows about its eight key selectors, without any widget.
//
// A selector's binding index is its position in the page's binding vectors; the selectors
// are listed in binding index order, which differs from their order on screen (rows 4 and 5
// hold binding indices 4 and 3). Every read or write of a selector's binding goes through
// its device key.
namespace SelectorTable {

constexpr int Count = 8;

// Object name of the selector of a binding index 0..7 ("FireKey" ... "Button8"); empty outside.
QString selectorName(int bindingIndex);
// Device key of a binding index: 0..5 the same, 6 is key 9, 7 is key 11, above 7 the index itself.
int deviceKey(int bindingIndex);
// Binding index of a device key, -1 for a key no selector stands for.
int bindingIndexOfKey(int deviceKey);
// Key code a macro binding carries for a binding index: the device key, except the seventh key,
// whose macro binding names code 6 while its binding and record sit at device key 9.
int macroKeyCode(int bindingIndex);

// "KeyNumber" of the catalogue as the page uses it: missing or not a number 0, negative 0,
// above 8 is 8 (no selector beyond, and the image has sixteen bindings only).
int keyCountFromCatalogue(const QString& text);

// The binding vectors of `count` indices taken from an image.
struct Bindings {
    QVector<int> type;
    QVector<int> code1;
    QVector<int> code2;
};
Bindings bindingsFromImage(const FlashDataMap& image, int count);

// Factory binding of a binding index on the page (second code always 0). Model 15 has the
// report-rate switch on binding index 5; every other model the DPI cycle.
ButtonBinding factoryBinding(int bindingIndex, int modelId);

// The function button whose text names a binding of the types that need no record:
// 0, 1, 2, 3, 4, 7, 8, 9 and 11 ("LeftKey_3", "VolumeUp_7" ...). A code of types 2, 3, 8
// and 11 that has no button of its own gets the button of its function list ("DPI_9" for
// the light switches). Empty for any other code the page cannot name (the selector keeps
// its text) and for types 5, 6 and 10.
QString functionButtonOfBinding(int type, int code1);

// Positions of the markers Number1..Number6 on the mouse picture of a picture index
// (compared unsigned: a negative index uses the default row).
QVector<QPoint> markerPositions(int pictureIndex);

// A button draws "&" as the mark of its shortcut letter (and takes Alt with that letter as
// its shortcut). A macro name goes on a button doubled there, and is read back undoubled.
QString buttonTextOfName(const QString& name);
QString nameOfButtonText(const QString& text);

// Models whose seventh key (Button7, its marker and number) is shown.
bool modelShowsSeventhKey(int modelId);
// Models whose rows 4 and 5 are exchanged: StartPause below TopMusic.
bool modelSwapsSideRows(int modelId);

}  // namespace SelectorTable
