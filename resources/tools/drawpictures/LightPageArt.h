#pragma once
#include <QColor>
#include <QPainter>
#include <QSize>

// Pictures of the lighting page.
namespace LightPageArt {

// Saturated hue band: red, orange, yellow, green, cyan, blue, violet, left to right.
void colorBoard(QPainter& p, QSize s);
// The preview square before the first colour is known: a neutral checker.
void previewPlaceholder(QPainter& p, QSize s);
// A preset colour button: the colour filling the square, with a thin edge.
void presetSwatch(QPainter& p, QSize s, const QColor& colour);

}  // namespace LightPageArt
