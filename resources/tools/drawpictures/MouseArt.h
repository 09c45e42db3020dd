#pragma once
#include <QPainter>
#include <QSize>
#include <QString>

// The device-choice page's tiles: one card per mouse model, online and offline.
namespace MouseArt {

int modelCount();
QString modelName(int model);
void tile(QPainter& p, QSize s, int model, bool online);
void unknownTile(QPainter& p, QSize s);

}  // namespace MouseArt
