#include "ButtonPageArt.h"
#include <QLinearGradient>

namespace ButtonPageArt {
using namespace Style;

void bar(QPainter& p, QSize s, bool checked, bool opens)
{
    const QRectF r(QPointF(0, 0), s);
    if (checked) {
        QLinearGradient g(0, 0, s.width(), 0);
        g.setColorAt(0, accentDim);
        g.setColorAt(1, accentDeep);
        p.setPen(QPen(accent, 1));
        p.setBrush(g);
    } else {
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, QColor(40, 47, 57));
        g.setColorAt(1, QColor(30, 35, 43));
        p.setPen(QPen(line, 1));
        p.setBrush(g);
    }
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    // A thin accent edge on the left marks the chosen entry.
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(1, 3, 3, s.height() - 6), 1.5, 1.5);
    }
    if (opens) {
        const qreal x = s.width() - 12, y = s.height() / 2.0;
        p.setPen(pen(checked ? iconLight : icon, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(poly({QPointF(x - 3, y - 4), QPointF(x + 1, y), QPointF(x - 3, y + 4)}));
    }
}

void numberPlate(QPainter& p, QSize s, Look look)
{
    const QRectF r = QRectF(QPointF(0, 0), s).adjusted(2, 2, -2, -2);
    const QColor ring = look == Look::Active ? accent : (look == Look::Hover ? iconLight : accentDim);
    p.setPen(QPen(ring, look == Look::Normal ? 1.5 : 2.5));
    p.setBrush(look == Look::Active ? QColor(170, 232, 255) : QColor(214, 220, 228));
    p.drawEllipse(r);
}

void profileIcon(QPainter& p, QSize s)
{
    // Three stacked layers: the mouse's onboard profiles.
    p.setPen(pen(accent, 1.3));
    p.setBrush(Qt::NoBrush);
    const qreal w = s.width() - 4;
    for (int i = 0; i < 3; ++i) {
        const qreal y = 2 + i * 4.0;
        p.drawPolygon(poly({QPointF(2, y + 2), QPointF(2 + w / 2, y), QPointF(2 + w, y + 2), QPointF(2 + w / 2, y + 4)}));
    }
}

void lowerPanel(QPainter& p, QSize s)
{
    const QRectF r(QPointF(0, 0), s);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(26, 30, 37));
    g.setColorAt(1, QColor(20, 23, 28));
    panel(p, r, 8, QColor(0, 0, 0, 0), line);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
    p.setPen(QPen(line, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

}  // namespace ButtonPageArt
