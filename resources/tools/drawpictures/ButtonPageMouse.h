#pragma once
#include "MouseArt.h"
#include <QDir>
#include <QPolygonF>

// The button page's mouse pictures (mouse0.png ...): each model posed so that a leader line
// runs from every marker, where the page places it, to the button the marker names.
namespace ButtonPageMouse {

struct Leader {
    int marker;              // 1 ... 7
    MouseArt::Part part;
    QPolygonF line;          // picture coordinates, from the marker's centre to the button
    QPainterPath button;     // the button's region in picture coordinates
};

QSize pictureSize();
QVector<Leader> leaders(int model);
void draw(QPainter& p, int model);
// Writes the region of each marker's button and its line, for every model, into `file`
// (JSON); false when it cannot be written.
bool writeButtonRegions(const QString& file);

}  // namespace ButtonPageMouse
