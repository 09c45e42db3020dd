#include "LightPageArt.h"
#include "Style.h"

#include <QLinearGradient>

namespace LightPageArt {

void colorBoard(QPainter& p, QSize s)
{
    QLinearGradient band(0, 0, s.width(), 0);
    // Hues 0 (red) to 280 (violet) in even steps.
    const int stops = 14;
    for (int i = 0; i <= stops; ++i) {
        const qreal t = qreal(i) / stops;
        band.setColorAt(t, QColor::fromHsv(int(280 * t), 255, 255));
    }
    p.fillRect(QRect(QPoint(0, 0), s), band);
}

void previewPlaceholder(QPainter& p, QSize s)
{
    const int cell = 10;
    for (int y = 0; y < s.height(); y += cell) {
        for (int x = 0; x < s.width(); x += cell)
            p.fillRect(x, y, cell, cell, ((x + y) / cell) % 2 ? Style::raised : Style::line);
    }
    p.setPen(QPen(QColor(220, 220, 220), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, s.width() - 2, s.height() - 2));
}

void presetSwatch(QPainter& p, QSize s, const QColor& colour)
{
    p.fillRect(QRect(QPoint(0, 0), s), colour);
    p.setPen(QPen(Style::lineLight, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, s.width() - 1, s.height() - 1));
}

}  // namespace LightPageArt
