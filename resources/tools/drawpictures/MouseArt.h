#pragma once
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QSize>
#include <QPointF>
#include <QString>
#include <QVector>

// The device-choice page's tiles: one card per mouse model, online and offline.
namespace MouseArt {

int modelCount();
QString modelName(int model);
void tile(QPainter& p, QSize s, int model, bool online);
void unknownTile(QPainter& p, QSize s);

// The buttons a marker on the button page's mouse picture can name.
enum class Part { LeftButton, RightButton, Wheel, SideFront, SideRear, DpiButton, TopButton };
// Where a part lies in the model's design box (200 x 300, front at the top, the mouse's left
// side on the left); empty when the model lacks it.
QPainterPath partRegion(int model, Part part);
// The model's outline in its design box.
QPainterPath bodyOutline(int model);
// The model as its tile shows it, lit, through a transform from its design box.
void drawMouseAt(QPainter& p, int model, const QTransform& designToPicture);
// The soft light under a mouse.
void floorGlowAt(QPainter& p, QPointF centre);

}  // namespace MouseArt
