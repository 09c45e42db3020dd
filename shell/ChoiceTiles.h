#pragma once
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

// Widget-free rules of the device-choice page's tiles: which picture a device gets, where a
// tile sits on its page and how the tiles are split into pages.

// Picture number of a model by its MID; -1 for a MID without pictures. The same number tells
// the pages which model was chosen.
int choicePictureNumber(int mid);
// "OnLine<k>.png" / "DisOnlin<k>.png"; empty for a MID without pictures.
QString choiceOnlinePicture(int mid);
QString choiceOfflinePicture(int mid);
// Report-rate badge by the connection kind; empty for kinds without a badge.
QString choiceBadgePicture(int kind);
// Connection mark by the cable flag.
QString choiceConnectionPicture(int cableFlag);
extern const char* const ChoiceUnknownPicture;
extern const char* const ChoiceOfflineMarkPicture;
// Every picture a tile, a mark or a badge can show (the page's one style sheet has a rule for each).
QStringList choiceTilePictures();
QStringList choiceMarkPictures();
QStringList choiceBadgePictures();

// Number of tiles on each page for n devices: full pages of three, then the rest.
QVector<int> choicePageSizes(int deviceCount);

// Places of one tile's widgets within its page.
struct ChoiceTilePlace {
    QPoint button;
    QPoint mark;   // offline mark and connection mark share one spot
    QPoint badge;
};
// The place of tile `position` (0-based) on a page holding `tilesOnPage` tiles (1..3).
ChoiceTilePlace choiceTilePlace(int tilesOnPage, int position);
