#pragma once
#include <QPainter>
#include <QSize>
#include <QPair>
#include <QPointF>
#include <QString>
#include <QVector>

// The device-choice page's tiles: one card per mouse model, online and offline.
namespace MouseArt {

int modelCount();
QString modelName(int model);
void tile(QPainter& p, QSize s, int model, bool online);
void unknownTile(QPainter& p, QSize s);

// What a marker on the button page's mouse picture points at.
enum class Part { LeftButton, RightButton, Wheel, SideFront, SideRear, DpiButton, TopButton };
// The button page's picture of a model: the mouse with a leader line from each marker
// centre (picture coordinates) to the part of the mouse it names.
// `mirrored` shows the mouse with its side buttons on the right.
void markedMouse(QPainter& p, QSize s, int model, const QVector<QPair<QPointF, Part>>& markers, bool mirrored);

}  // namespace MouseArt
