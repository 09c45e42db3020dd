#include "MacroPageArt.h"
#include <QLinearGradient>

namespace MacroPageArt {
using namespace Style;

namespace {

// A key cap with an arrow through it, pointing down (pressed) or up (released).
void keyArrow(QPainter& p, QSize s, bool down, const QColor& colour)
{
    const qreal w = s.width(), h = s.height();
    p.setPen(pen(icon, 1.2));
    p.setBrush(raised);
    p.drawRoundedRect(QRectF(1.5, h * 0.55, w - 3, h * 0.4), 2, 2);
    p.setPen(pen(colour, 2));
    const qreal x = w / 2.0;
    const qreal top = 1.5, bottom = h * 0.62;
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    const qreal tipY = down ? bottom : top;
    const qreal back = down ? -4 : 4;
    p.drawPolyline(poly({QPointF(x - 4, tipY + back), QPointF(x, tipY), QPointF(x + 4, tipY + back)}));
}

}  // namespace

void pressMark(QPainter& p, QSize s) { keyArrow(p, s, true, accent); }

void releaseMark(QPainter& p, QSize s) { keyArrow(p, s, false, QColor(120, 220, 120)); }

void delayMark(QPainter& p, QSize s)
{
    const QPointF c(s.width() / 2.0, s.height() / 2.0);
    const qreal r = qMin(s.width(), s.height()) / 2.0 - 1.5;
    p.setPen(pen(QColor(225, 190, 34), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawLine(c, c + QPointF(0, -r * 0.65));
    p.drawLine(c, c + QPointF(r * 0.5, r * 0.2));
}

void scrollArrow(QPainter& p, QSize s, bool up)
{
    p.fillRect(QRectF(QPointF(0, 0), s), QColor(30, 30, 30));
    const QPointF c(s.width() / 2.0, s.height() / 2.0);
    const qreal d = up ? -1 : 1;
    p.setPen(pen(QColor(160, 160, 160), 2));
    p.drawPolyline(poly({c + QPointF(-5, -2.5 * d), c + QPointF(0, 2.5 * d), c + QPointF(5, -2.5 * d)}));
}

void textButton(QPainter& p, QSize s, Look look)
{
    const QRectF r(QPointF(0, 0), s);
    if (look == Look::Active) {
        panel(p, r, 4, accentDim, accent);
        return;
    }
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, look == Look::Hover ? QColor(48, 58, 70) : QColor(40, 48, 58));
    g.setColorAt(1, look == Look::Hover ? QColor(36, 44, 54) : QColor(30, 36, 44));
    p.setPen(QPen(look == Look::Hover ? accent : accentDim, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void recordButton(QPainter& p, QSize s, bool stop, Look look)
{
    textButton(p, s, look == Look::Hover ? Look::Hover : Look::Normal);
    const QPointF c(26, s.height() / 2.0);
    const QColor sign = look == Look::Hover ? QColor(255, 110, 90) : warning;
    p.setPen(Qt::NoPen);
    p.setBrush(sign);
    if (stop) {
        p.drawRoundedRect(QRectF(c.x() - 8, c.y() - 8, 16, 16), 2.5, 2.5);
    } else {
        p.setPen(pen(sign, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(sign);
        p.drawEllipse(c, 7.5, 7.5);
    }
}

}  // namespace MacroPageArt
