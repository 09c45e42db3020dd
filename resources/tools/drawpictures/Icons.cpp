#include "Icons.h"
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

namespace Icons {
using namespace Style;

namespace {

QPointF centre(QSize s) { return QPointF(s.width() / 2.0, s.height() / 2.0); }

// Hover and pressed states of the small window buttons sit on a soft round plate.
void plate(QPainter& p, QSize s, Look look)
{
    if (look == Look::Normal)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Hover ? raised : accentDeep);
    const qreal r = qMin(s.width(), s.height()) / 2.0 - 0.5;
    p.drawEllipse(centre(s), r, r);
}

void mouseGlyph(QPainter& p, const QPointF& c, const QColor& colour)
{
    p.setPen(pen(colour, 2));
    p.setBrush(Qt::NoBrush);
    const QRectF body(c.x() - 6.5, c.y() - 10, 13, 20);
    p.drawRoundedRect(body, 6.5, 6.5);
    p.drawLine(QPointF(c.x(), c.y() - 10), QPointF(c.x(), c.y() - 3));
    p.drawLine(QPointF(c.x() - 6.5, c.y() - 2.5), QPointF(c.x() + 6.5, c.y() - 2.5));
}

void crosshairGlyph(QPainter& p, const QPointF& c, const QColor& colour)
{
    p.setPen(pen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 7.5, 7.5);
    p.drawLine(QPointF(c.x(), c.y() - 12), QPointF(c.x(), c.y() - 5));
    p.drawLine(QPointF(c.x(), c.y() + 5), QPointF(c.x(), c.y() + 12));
    p.drawLine(QPointF(c.x() - 12, c.y()), QPointF(c.x() - 5, c.y()));
    p.drawLine(QPointF(c.x() + 5, c.y()), QPointF(c.x() + 12, c.y()));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, 2, 2);
}

void keyboardGlyph(QPainter& p, const QPointF& c, const QColor& colour)
{
    p.setPen(pen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 11, c.y() - 7, 22, 14), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(c.x() - 7.5 + col * 4.5, c.y() - 4 + row * 3.5, 2, 2));
    p.drawRect(QRectF(c.x() - 5, c.y() + 3.2, 10, 1.8));
}

void lightGlyph(QPainter& p, const QPointF& c, const QColor& colour)
{
    p.setPen(pen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 4.5, 4.5);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4.0;
        p.drawLine(c + QPointF(qCos(a) * 8, qSin(a) * 8), c + QPointF(qCos(a) * 11.5, qSin(a) * 11.5));
    }
}

void gearGlyph(QPainter& p, const QPointF& c, const QColor& colour)
{
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = i * 2 * M_PI / (teeth * 4) - M_PI / 2;
        const qreal r = (i % 4 == 0 || i % 4 == 1) ? 11.5 : 8.5;
        const QPointF pt = c + QPointF(qCos(a) * r, qSin(a) * r);
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    gear.addEllipse(c, 3.8, 3.8);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(gear);
}

void chevron(QPainter& p, const QPointF& c, qreal size, qreal angleDeg, const QColor& colour, qreal width)
{
    p.save();
    p.translate(c);
    p.rotate(angleDeg);
    p.setPen(pen(colour, width));
    p.drawPolyline(poly({QPointF(-size / 2, -size), QPointF(size / 2, 0), QPointF(-size / 2, size)}));
    p.restore();
}

}  // namespace

void close(QPainter& p, QSize s, Look look)
{
    plate(p, s, look);
    const QPointF c = centre(s);
    const qreal d = qMin(s.width(), s.height()) * 0.2;
    p.setPen(pen(iconColor(look), 1.8));
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
}

void minimise(QPainter& p, QSize s, Look look)
{
    plate(p, s, look);
    const QPointF c = centre(s);
    const qreal d = qMin(s.width(), s.height()) * 0.22;
    p.setPen(pen(iconColor(look), 1.8));
    p.drawLine(c + QPointF(-d, 0.5), c + QPointF(d, 0.5));
}

void backArrow(QPainter& p, QSize s, Look look)
{
    const QColor colour = iconColor(look);
    panel(p, QRectF(QPointF(0, 0), s), 7, look == Look::Active ? accentDeep : raised,
        look == Look::Normal ? line : colour);
    const QPointF c = centre(s);
    p.setPen(pen(colour, 2.2));
    p.drawLine(c + QPointF(-8, 0), c + QPointF(8, 0));
    p.drawPolyline(poly({c + QPointF(-2, -6), c + QPointF(-8, 0), c + QPointF(-2, 6)}));
}

void pageArrow(QPainter& p, QSize s, bool right, Look look)
{
    const QPointF c = centre(s);
    const qreal r = qMin(s.width(), s.height()) / 2.0 - 1.5;
    p.setPen(QPen(look == Look::Normal ? lineLight : accent, 2));
    p.setBrush(QColor(26, 31, 38, 230));
    p.drawEllipse(c, r, r);
    chevron(p, c + QPointF(right ? 2 : -2, 0), r * 0.5, right ? 0 : 180, iconColor(look), 3);
}

void pageButton(QPainter& p, QSize s, const QString& glyph, Look look)
{
    const QColor colour = iconColor(look);
    if (look == Look::Active) {
        QRadialGradient glow(centre(s), s.width() / 2.0);
        glow.setColorAt(0, QColor(32, 200, 255, 60));
        glow.setColorAt(1, QColor(32, 200, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QRectF(QPointF(0, 0), s));
    }
    const QPointF c = centre(s);
    if (glyph == QLatin1String("mouse"))
        mouseGlyph(p, c, colour);
    else if (glyph == QLatin1String("sensor"))
        crosshairGlyph(p, c, colour);
    else if (glyph == QLatin1String("macro"))
        keyboardGlyph(p, c, colour);
    else if (glyph == QLatin1String("light"))
        lightGlyph(p, c, colour);
    else
        gearGlyph(p, c, colour);
}

void textButton(QPainter& p, QSize s, Look look)
{
    const QRectF r(QPointF(0, 0), s);
    if (look == Look::Active) {
        panel(p, r, 4, accentDim, accent);
    } else {
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, QColor(40, 48, 58));
        g.setColorAt(1, QColor(30, 36, 44));
        p.setPen(QPen(accentDim, 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

void battery(QPainter& p, QSize s)
{
    Q_UNUSED(s);
    p.setPen(QPen(icon, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, 39, 19), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(icon);
    p.drawRoundedRect(QRectF(40.5, 6, 2.5, 8), 1, 1);
}

void chargeBolt(QPainter& p, QSize s)
{
    Q_UNUSED(s);
    // At 17 x 7 an outline blurs into the fill: one solid dark bolt reads on the green and the red bar.
    const QPolygonF bolt = poly({QPointF(0.5, 4.5), QPointF(9, 0), QPointF(8, 3), QPointF(16.5, 2.5), QPointF(8, 7),
        QPointF(9, 4)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 16, 20));
    p.drawPolygon(bolt);
}

void logo(QPainter& p, QSize s)
{
    const QRectF r(QPointF(0, 0), s);
    QLinearGradient g(0, 0, s.width(), s.height());
    g.setColorAt(0, accent);
    g.setColorAt(1, accentDim);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), s.width() * 0.22, s.width() * 0.22);
    // A stylised K: a stem and two strokes.
    const qreal u = s.width() / 64.0;
    p.setPen(pen(deep, 7 * u));
    p.drawLine(QPointF(22 * u, 16 * u), QPointF(22 * u, 48 * u));
    p.drawLine(QPointF(44 * u, 16 * u), QPointF(27 * u, 33 * u));
    p.drawLine(QPointF(31 * u, 31 * u), QPointF(45 * u, 48 * u));
}

void repair(QPainter& p, QSize s)
{
    const QPointF c = centre(s);
    p.setPen(QPen(accent, 1.5));
    p.setBrush(accentDeep);
    p.drawEllipse(c, 15, 15);
    p.save();
    p.translate(c);
    p.rotate(-45);
    p.setPen(Qt::NoPen);
    p.setBrush(iconLight);
    p.drawRoundedRect(QRectF(-2.2, -2, 4.4, 13), 2, 2);
    QPainterPath head;
    head.addEllipse(QPointF(0, -6), 6, 6);
    QPainterPath jaw;
    jaw.addRect(QRectF(-2.2, -13, 4.4, 7));
    p.drawPath(head.subtracted(jaw));
    p.restore();
}

void comboBack(QPainter& p, QSize s)
{
    panel(p, QRectF(QPointF(0, 0), s), 4, QColor(30, 36, 44), lineLight);
}

void comboPopup(QPainter& p, QSize s)
{
    panel(p, QRectF(QPointF(0, 0), s), 2, QColor(27, 32, 39), lineLight);
}

void comboArrow(QPainter& p, QSize s, bool open)
{
    const QPointF c = centre(s);
    chevron(p, c, s.width() * 0.32, open ? -90 : 90, open ? accent : iconLight, 1.8);
}

void checkBox(QPainter& p, QSize s, bool checked)
{
    const QRectF r(QPointF(0, 0), s);
    if (!checked) {
        panel(p, r.adjusted(1, 1, -1, -1), 3, raised, lineLight);
        return;
    }
    panel(p, r.adjusted(1, 1, -1, -1), 3, accent, accent);
    p.setPen(pen(deep, 2));
    p.drawPolyline(poly({QPointF(4, 8.5), QPointF(7, 11.5), QPointF(12.5, 5)}));
}

void sectionMark(QPainter& p, QSize s)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 2; ++i) {
        p.setBrush(i == 0 ? accent : accentDim);
        const qreal x = i * 6.0;
        p.drawPolygon(poly({QPointF(x, 0), QPointF(x + 5, 0), QPointF(x + 10, s.height() / 2.0),
            QPointF(x + 5, s.height()), QPointF(x, s.height()), QPointF(x + 5, s.height() / 2.0)}));
    }
}

void levelMarker(QPainter& p, QSize s, Look look)
{
    const QColor colour = look == Look::Normal ? iconLight : accent;
    const qreal cx = s.width() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(poly({QPointF(cx, 4), QPointF(cx + 8, 15), QPointF(cx - 8, 15)}));
    p.drawRoundedRect(QRectF(cx - 10, 19, 20, 3), 1.5, 1.5);
}

void sliderHandle(QPainter& p, QSize s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(iconLight);
    p.drawRoundedRect(QRectF(QPointF(0, 0), s), 2, 2);
    p.setBrush(accent);
    p.drawRect(QRectF(1.5, s.height() * 0.35, s.width() - 3, s.height() * 0.3));
}

void minus(QPainter& p, QSize s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(iconLight);
    p.drawRoundedRect(QRectF(QPointF(0, 0), s), 1.5, 1.5);
}

void plus(QPainter& p, QSize s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(iconLight);
    const qreal w = s.width(), h = s.height();
    p.drawRoundedRect(QRectF(0, h / 2 - 2, w, 4), 1.5, 1.5);
    p.drawRoundedRect(QRectF(w / 2 - 2, 0, 4, h), 1.5, 1.5);
}

void levelButton(QPainter& p, QSize s, bool selected)
{
    const QRectF r(QPointF(0, 0), s);
    if (!selected) {
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, QColor(36, 43, 52));
        g.setColorAt(1, QColor(26, 31, 38));
        p.setPen(QPen(lineLight, 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        return;
    }
    for (int i = 3; i >= 1; --i) {
        p.setPen(QPen(QColor(32, 200, 255, 40 * (4 - i)), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(3 - i + 0.5, 3 - i + 0.5, -(3 - i) - 0.5, -(3 - i) - 0.5), 8, 8);
    }
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(18, 70, 90));
    g.setColorAt(1, QColor(12, 40, 52));
    p.setPen(QPen(accent, 2));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(4, 4, -4, -4), 7, 7);
}

void swatchOverlay(QPainter& p, QSize s, bool selected)
{
    const QRectF r(QPointF(0, 0), s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 55));
    p.drawRoundedRect(QRectF(1, 1, s.width() - 2, s.height() / 2.0 - 1), 2, 2);
    p.setBrush(Qt::NoBrush);
    if (selected) {
        p.setPen(QPen(QColor(255, 255, 255), 2));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
    } else {
        p.setPen(QPen(QColor(0, 0, 0, 140), 1));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}

void toggle(QPainter& p, QSize s, bool on)
{
    const QRectF r(QPointF(0, 0), s);
    const qreal radius = s.height() / 2.0;
    panel(p, r, radius - 0.5, on ? accentDim : raised, on ? accent : lineLight);
    const qreal knob = radius - 3;
    const QPointF c(on ? s.width() - radius : radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? iconLight : icon);
    p.drawEllipse(c, knob, knob);
}

void rateBadge(QPainter& p, QSize s, const QString& text, int strength)
{
    const QRectF r(QPointF(0, 0), s);
    const QColor fill = strength >= 3 ? accent : (strength == 2 ? accentDim : QColor(12, 15, 19, 230));
    const QColor border = strength >= 1 ? accent : lineLight;
    panel(p, r.adjusted(1, 2, -1, -2), (s.height() - 4) / 2.0, fill, border);
    p.setPen(strength >= 3 ? deep : iconLight);
    p.setFont(font(11, true));
    p.drawText(r.adjusted(0, 1, 0, 0), Qt::AlignCenter, text);
}

void connectionMark(QPainter& p, QSize s, bool cable)
{
    const QPointF c = centre(s);
    p.setPen(QPen(lineLight, 1));
    p.setBrush(QColor(12, 15, 19, 220));
    p.drawEllipse(c, 15, 15);
    if (cable) {
        // A plug with its cable.
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(c.x() - 5, c.y() - 10, 10, 9), 1.5, 1.5);
        p.setBrush(deep);
        p.drawRect(QRectF(c.x() - 3, c.y() - 8, 2, 2.5));
        p.drawRect(QRectF(c.x() + 1, c.y() - 8, 2, 2.5));
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(c.x() - 3.5, c.y() - 1.5, 7, 5), 1, 1);
        p.setPen(pen(accent, 2));
        p.drawLine(c + QPointF(0, 3.5), c + QPointF(0, 10));
    } else {
        p.setPen(pen(accent, 2.2));
        p.setBrush(Qt::NoBrush);
        const QPointF base = c + QPointF(0, 6);
        for (int i = 1; i <= 3; ++i) {
            const qreal r = i * 5.0;
            p.drawArc(QRectF(base.x() - r, base.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(base, 2, 2);
    }
}

void offlineMark(QPainter& p, QSize s)
{
    const QPointF c = centre(s);
    p.setPen(QPen(warning, 1.5));
    p.setBrush(QColor(12, 15, 19, 220));
    p.drawEllipse(c, 15, 15);
    p.setPen(pen(icon, 2.2));
    p.setBrush(Qt::NoBrush);
    const QPointF base = c + QPointF(0, 6);
    for (int i = 1; i <= 3; ++i) {
        const qreal r = i * 5.0;
        p.drawArc(QRectF(base.x() - r, base.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
    p.setPen(pen(warning, 2.4));
    p.drawLine(c + QPointF(-9, -9), c + QPointF(9, 9));
}

void hintMark(QPainter& p, QSize s)
{
    const QPointF c = centre(s);
    const qreal r = qMin(s.width(), s.height()) / 2.0 - 0.5;
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(c, r, r);
    p.setBrush(deep);
    p.drawEllipse(QPointF(c.x(), c.y() - r * 0.45), r * 0.16, r * 0.16);
    p.drawRoundedRect(QRectF(c.x() - r * 0.14, c.y() - r * 0.15, r * 0.28, r * 0.72), r * 0.1, r * 0.1);
}

void pairButton(QPainter& p, QSize s, int outcome)
{
    const QRectF r = QRectF(QPointF(0, 0), s).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top(40, 48, 58);
    QColor bottom(30, 36, 44);
    QColor border = accent;
    if (outcome == 1) {
        top = QColor(28, 88, 58);
        bottom = QColor(20, 64, 42);
        border = QColor(70, 200, 120);
    } else if (outcome == 2) {
        top = QColor(96, 40, 34);
        bottom = QColor(70, 28, 24);
        border = warning;
    }
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);
}

void updateButton(QPainter& p, QSize s, Look look)
{
    const QRectF r = QRectF(QPointF(0, 0), s).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, look == Look::Active ? QColor(0, 150, 196) : accentDim);
    g.setColorAt(1, look == Look::Active ? accentDim : QColor(0, 96, 126));
    p.setPen(QPen(accent, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    // A small arrow up in the top right corner, above the end of the button's text: something
    // newer is waiting. (The button is 122 px wide: the picture's outer 3 px are not shown.)
    const QPointF c(s.width() - 9.0, 7.0);
    p.setPen(pen(iconLight, 1.4));
    p.drawLine(c + QPointF(0, 3), c + QPointF(0, -3));
    p.drawPolyline(poly({c + QPointF(-2.5, -0.5), c + QPointF(0, -3), c + QPointF(2.5, -0.5)}));
}

void mouseIcon(QPainter& p, QSize s)
{
    const QRectF body = QRectF(QPointF(0, 0), s).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(pen(icon, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, body.width() / 2, body.width() / 2);
    const qreal x = body.center().x();
    p.drawLine(QPointF(x, body.top()), QPointF(x, body.top() + body.height() * 0.35));
}

}  // namespace Icons
