#pragma once
#include "MouseArt.h"
#include <QDir>
#include <QPolygonF>

// The button page's mouse pictures (mouse0.png ...): each model front up as on its tile, posed
// so that a leader line, bent where needed, runs from every marker, where the page places it,
// to the button the marker names, clear of the other markers, lines and line ends.
namespace ButtonPageMouse {

struct Leader {
    int marker;              // 1 ... 7
    MouseArt::Part part;
    QPolygonF line;          // picture coordinates, from the marker's centre through its bends to the button
    QPainterPath button;     // the button's region in picture coordinates
};

QSize pictureSize();
QVector<Leader> leaders(int model);
void draw(QPainter& p, int model);
// Writes, for every model, the outline of its body and, for each marker, its line and the
// region of its button into `file` (JSON); false when it cannot be written.
bool writeButtonRegions(const QString& file);

}  // namespace ButtonPageMouse
