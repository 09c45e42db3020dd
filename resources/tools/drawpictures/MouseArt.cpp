#include "MouseArt.h"
#include "Style.h"
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVector>
#include <vector>

namespace MouseArt {
using namespace Style;

namespace {

enum Feature {
    SideButtons = 1,
    ThumbRest = 2,
    ButtonGrid = 4,
    Perforated = 8,
    LightStrip = 16,
    SniperButton = 32,
    LongSideButtons = 64,
    NoLight = 128,
    SeventhButton = 256,  // a small button behind the DPI button
};

struct Model {
    const char* name;
    QVector<QPointF> outline;  // design box 200 x 300, front at the top
    bool angular;
    qreal splitY;              // where the main buttons end
    int features;
};

const std::vector<Model>& models()
{
    static const std::vector<Model> list{
        {"VELA", {{100, 2}, {148, 12}, {170, 55}, {168, 120}, {160, 170}, {170, 235}, {150, 288}, {100, 298},
                     {50, 288}, {30, 235}, {40, 170}, {32, 120}, {30, 55}, {52, 12}},
            false, 118, SideButtons},
        {"ORCA", {{92, 0}, {138, 6}, {166, 45}, {178, 120}, {182, 200}, {168, 265}, {130, 296}, {80, 298},
                     {44, 275}, {30, 225}, {34, 165}, {26, 115}, {34, 50}, {58, 10}},
            false, 122, SideButtons},
        {"LYNX", {{100, 30}, {140, 38}, {158, 75}, {156, 130}, {150, 170}, {158, 220}, {140, 262}, {100, 270},
                     {60, 262}, {42, 220}, {50, 170}, {44, 130}, {42, 75}, {60, 38}},
            false, 128, SideButtons},
        {"TALON", {{92, 0}, {136, 6}, {162, 45}, {172, 120}, {176, 200}, {164, 265}, {128, 296}, {80, 298},
                      {30, 292}, {6, 262}, {10, 232}, {34, 210}, {34, 160}, {26, 110}, {34, 50}, {58, 10}},
            false, 122, SideButtons | ThumbRest | NoLight},
        {"PICO", {{100, 50}, {140, 56}, {160, 90}, {162, 160}, {158, 220}, {136, 250}, {100, 256}, {64, 250},
                     {42, 220}, {38, 160}, {40, 90}, {60, 56}},
            false, 140, SideButtons | SeventhButton},
        {"ATLAS", {{90, 0}, {140, 6}, {170, 50}, {182, 130}, {184, 210}, {168, 270}, {128, 298}, {78, 298},
                      {38, 276}, {22, 220}, {24, 150}, {20, 100}, {30, 45}, {56, 8}},
            false, 112, ButtonGrid | SeventhButton},
        {"DRIFT", {{100, 0}, {136, 10}, {154, 60}, {150, 150}, {152, 230}, {140, 285}, {100, 300}, {60, 285},
                      {48, 230}, {50, 150}, {46, 60}, {64, 10}},
            false, 126, LongSideButtons | SeventhButton},
        {"NOVA", {{100, 4}, {146, 14}, {166, 60}, {164, 130}, {162, 180}, {176, 240}, {154, 290}, {100, 300},
                     {46, 290}, {24, 240}, {38, 180}, {36, 130}, {34, 60}, {54, 14}},
            false, 120, SideButtons | LightStrip},
        {"SHADE", {{100, 0}, {150, 10}, {172, 55}, {172, 150}, {170, 230}, {150, 285}, {100, 298}, {50, 285},
                      {30, 230}, {28, 150}, {28, 55}, {50, 10}},
            false, 118, SideButtons | Perforated | NoLight},
        {"APEX", {{95, 0}, {150, 8}, {180, 50}, {190, 130}, {192, 210}, {176, 272}, {130, 300}, {70, 300},
                     {28, 276}, {12, 215}, {16, 150}, {10, 105}, {22, 48}, {50, 8}},
            false, 120, SideButtons | SniperButton},
        {"RAVEN", {{100, 0}, {150, 14}, {176, 70}, {166, 140}, {180, 220}, {152, 292}, {100, 300}, {48, 292},
                      {20, 220}, {34, 140}, {24, 70}, {50, 14}},
            true, 124, SideButtons | NoLight},
    };
    return list;
}

QPainterPath outlinePath(const Model& m)
{
    const QVector<QPointF>& pts = m.outline;
    const int n = pts.size();
    QPainterPath path(pts[0]);
    for (int i = 0; i < n; ++i) {
        const QPointF p0 = pts[(i + n - 1) % n], p1 = pts[i], p2 = pts[(i + 1) % n], p3 = pts[(i + 2) % n];
        if (m.angular)
            path.lineTo(p2);
        else
            path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

qreal edgeX(const QPainterPath& body, qreal y, bool left)
{
    if (left) {
        for (qreal x = 0; x < 100; x += 0.5)
            if (body.contains(QPointF(x, y)))
                return x;
        return 100;
    }
    for (qreal x = 200; x > 100; x -= 0.5)
        if (body.contains(QPointF(x, y)))
            return x;
    return 100;
}

QRectF sideButtonRect(const QPainterPath& body, qreal y, qreal length)
{
    const qreal x = edgeX(body, y + length / 2, true);
    return QRectF(x - 3, y, 9, length);
}

QRectF gridKeyRect(const QPainterPath& body, int row, int col)
{
    const qreal x0 = edgeX(body, 150, true) + 6;
    return QRectF(x0 + col * 11, 118 + row * 15, 9, 12);
}

QRectF wheelRect(const Model& m) { return QRectF(91, m.splitY * 0.3, 18, m.splitY * 0.42); }
QRectF dpiButtonRect(const Model& m) { return QRectF(93, m.splitY * 0.78, 14, 9); }
QRectF seventhButtonRect(const Model& m) { return QRectF(92, m.splitY + 12, 16, 10); }

// The two thumb buttons, front first; a grid offers its first column's upper two keys.
QVector<QRectF> sideButtons(const Model& m, const QPainterPath& body)
{
    if (m.features & SideButtons)
        return {sideButtonRect(body, m.splitY + 5, 26), sideButtonRect(body, m.splitY + 35, 26)};
    if (m.features & LongSideButtons)
        return {sideButtonRect(body, m.splitY + 5, 40), sideButtonRect(body, m.splitY + 49, 40)};
    if (m.features & ButtonGrid)
        return {gridKeyRect(body, 0, 0), gridKeyRect(body, 1, 0)};
    return {};
}

// The main buttons: the front of the shell up to the seam, split in the middle.
QPainterPath mainButtons(const Model& m)
{
    QPainterPath buttons;
    buttons.moveTo(0, 0);
    buttons.lineTo(200, 0);
    buttons.lineTo(200, m.splitY - 6);
    buttons.quadTo(100, m.splitY + 10, 0, m.splitY - 6);
    buttons.closeSubpath();
    return buttons;
}

// Draws one mouse seen from above into design coordinates.
void drawMouse(QPainter& p, const Model& m, bool online)
{
    const QPainterPath body = outlinePath(m);
    const QColor glow = online ? accent : icon;
    const bool lit = online && !(m.features & NoLight);

    QLinearGradient shell(0, 0, 200, 300);
    shell.setColorAt(0, QColor(76, 86, 102));
    shell.setColorAt(0.55, QColor(46, 53, 63));
    shell.setColorAt(1, QColor(24, 28, 34));
    p.setPen(QPen(QColor(92, 104, 120), 2));
    p.setBrush(shell);
    p.drawPath(body);

    p.save();
    p.setClipPath(body);
    // Main buttons: a lighter front, split in the middle.
    QLinearGradient front(0, 0, 0, m.splitY);
    front.setColorAt(0, QColor(92, 104, 120));
    front.setColorAt(1, QColor(62, 71, 83));
    p.setPen(Qt::NoPen);
    p.setBrush(front);
    p.drawPath(mainButtons(m));
    p.setPen(QPen(QColor(14, 16, 20), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(100, 0), QPointF(100, m.splitY + 2));
    QPainterPath seam;
    seam.moveTo(0, m.splitY - 6);
    seam.quadTo(100, m.splitY + 10, 200, m.splitY - 6);
    p.drawPath(seam);

    if (m.features & Perforated) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(10, 12, 15));
        for (int row = 0; row < 14; ++row)
            for (int col = 0; col < 12; ++col) {
                const QPointF c(12 + col * 16 + (row % 2) * 8, m.splitY + 18 + row * 13);
                if (body.contains(c) && edgeX(body, c.y(), true) + 10 < c.x() && edgeX(body, c.y(), false) - 10 > c.x())
                    p.drawEllipse(c, 4.2, 4.2);
            }
    }
    if (m.features & LightStrip) {
        QPainterPath strip;
        strip.addPath(body);
        p.setPen(QPen(lit ? accent : QColor(90, 100, 112), 7));
        p.setClipRect(QRectF(0, 215, 200, 100), Qt::IntersectClip);
        p.drawPath(body);
    }
    p.restore();

    // Wheel and level button.
    p.setPen(QPen(QColor(12, 14, 18), 1.5));
    p.setBrush(QColor(22, 26, 31));
    p.drawRoundedRect(wheelRect(m), 8, 8);
    p.setPen(QPen(online ? glow : QColor(96, 106, 118), 1.5));
    for (int i = 0; i < 6; ++i) {
        const qreal y = m.splitY * 0.33 + i * m.splitY * 0.06;
        p.drawLine(QPointF(95, y), QPointF(105, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 35, 42));
    p.drawRoundedRect(dpiButtonRect(m), 3, 3);
    if (m.features & SeventhButton) {
        p.setPen(QPen(QColor(12, 14, 18), 1.5));
        p.setBrush(QColor(70, 80, 94));
        p.drawRoundedRect(seventhButtonRect(m), 4, 4);
    }

    // Side controls.
    const QColor side(70, 80, 94);
    if (m.features & ButtonGrid) {
        p.setPen(QPen(QColor(0, 0, 0, 140), 1));
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 3; ++col) {
                p.setBrush(lit && row == 0 && col == 0 ? accentDim : side);
                p.drawRoundedRect(gridKeyRect(body, row, col), 2, 2);
            }
    } else {
        p.setPen(QPen(QColor(0, 0, 0, 120), 1));
        p.setBrush(side);
        for (const QRectF& button : sideButtons(m, body))
            p.drawRoundedRect(button, 4, 4);
    }
    if (m.features & ThumbRest) {
        p.setPen(QPen(QColor(20, 24, 28), 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath rest;
        rest.moveTo(14, 262);
        rest.quadTo(24, 232, 42, 224);
        p.drawPath(rest);
    }
    if (m.features & SniperButton) {
        const qreal x = edgeX(body, 95, true);
        p.setPen(QPen(QColor(0, 0, 0, 140), 1));
        p.setBrush(online ? warning : QColor(110, 110, 110));
        p.drawRoundedRect(QRectF(x - 2, 84, 10, 20), 4, 4);
    }

    // Palm badge: a small chevron, lit in the accent when the mouse answers.
    const qreal palm = m.splitY + (300 - m.splitY) * 0.55;
    p.setPen(QPen(lit ? accent : QColor(92, 102, 114), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(poly({QPointF(88, palm - 6), QPointF(100, palm + 6), QPointF(112, palm - 6)}));
    if (m.angular) {
        p.setPen(QPen(QColor(20, 24, 28), 2));
        p.drawLine(QPointF(40, 150), QPointF(70, 205));
        p.drawLine(QPointF(160, 150), QPointF(130, 205));
    }
}

void card(QPainter& p, QSize s, bool online)
{
    const QRectF r(6, 6, s.width() - 12, s.height() - 12);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(30, 35, 42));
    g.setColorAt(1, QColor(18, 21, 26));
    if (online) {
        for (int i = 4; i >= 1; --i) {
            p.setPen(QPen(QColor(32, 200, 255, 22 * (5 - i)), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(-i, -i, i, i), 14 + i, 14 + i);
        }
    }
    p.setPen(QPen(online ? accent : line, online ? 1.5 : 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 14, 14);
}

void floorGlow(QPainter& p, QPointF c, bool online)
{
    QRadialGradient g(c, 110);
    g.setColorAt(0, online ? QColor(32, 200, 255, 70) : QColor(120, 130, 140, 25));
    g.setColorAt(1, QColor(32, 200, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 120, 120);
}

void caption(QPainter& p, QSize s, const QString& text, bool online)
{
    p.setPen(online ? iconLight : icon);
    p.setFont(font(18, true));
    p.drawText(QRectF(0, s.height() - 58, s.width(), 30), Qt::AlignCenter, text);
    // A short accent rule under the name of a mouse that answers.
    p.setPen(Qt::NoPen);
    p.setBrush(online ? accent : line);
    p.drawRoundedRect(QRectF(s.width() / 2.0 - 18, s.height() - 26, 36, 3), 1.5, 1.5);
}

// Renders the mouse on its own layer so the offline look can grey it out as a whole.
QImage mouseLayer(const Model& m, bool online, QSize area)
{
    QImage layer(area, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    const qreal scale = area.height() / 310.0;
    lp.translate(area.width() / 2.0 - 100 * scale, 5 * scale);
    lp.scale(scale, scale);
    drawMouse(lp, m, online);
    lp.end();
    if (!online) {
        for (int y = 0; y < layer.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
            for (int x = 0; x < layer.width(); ++x) {
                const int a = qAlpha(row[x]);
                const int g = qGray(row[x]) * 7 / 10;
                row[x] = qRgba(g, g, g, a);
            }
        }
    }
    return layer;
}

}  // namespace

int modelCount() { return int(models().size()); }

QString modelName(int model) { return QString::fromLatin1(models().at(size_t(model)).name); }

void tile(QPainter& p, QSize s, int model, bool online)
{
    card(p, s, online);
    floorGlow(p, QPointF(s.width() / 2.0, 170), online);
    const QSize area(200, 236);
    const QImage layer = mouseLayer(models().at(size_t(model)), online, area);
    p.setOpacity(online ? 1.0 : 0.75);
    p.drawImage(QPointF((s.width() - area.width()) / 2.0, 48), layer);
    p.setOpacity(1.0);
    caption(p, s, QStringLiteral("KAVRO ") + modelName(model), online);
}

QPainterPath partRegion(int model, Part part)
{
    const Model& m = models().at(size_t(model));
    const QPainterPath body = outlinePath(m);
    QPainterPath region;
    const auto half = [&](qreal x0) {
        QPainterPath side;
        side.addRect(QRectF(x0, 0, 100, 300));
        QPainterPath wheel;
        wheel.addRect(wheelRect(m).adjusted(-2, -2, 2, 2));
        QPainterPath dpi;
        dpi.addRect(dpiButtonRect(m).adjusted(-2, -2, 2, 2));
        return mainButtons(m).intersected(body).intersected(side).subtracted(wheel).subtracted(dpi);
    };
    const QVector<QRectF> thumb = sideButtons(m, body);
    switch (part) {
    case Part::LeftButton: return half(0);
    case Part::RightButton: return half(100);
    case Part::Wheel: region.addRoundedRect(wheelRect(m), 8, 8); break;
    case Part::DpiButton: region.addRoundedRect(dpiButtonRect(m), 3, 3); break;
    case Part::SideFront:
        if (!thumb.isEmpty())
            region.addRoundedRect(thumb.at(0), 4, 4);
        break;
    case Part::SideRear:
        if (thumb.size() > 1)
            region.addRoundedRect(thumb.at(1), 4, 4);
        break;
    case Part::TopButton:
        if (m.features & SeventhButton)
            region.addRoundedRect(seventhButtonRect(m), 4, 4);
        break;
    }
    return region;
}

QPainterPath bodyOutline(int model) { return outlinePath(models().at(size_t(model))); }

void drawMouseAt(QPainter& p, int model, const QTransform& designToPicture)
{
    p.save();
    p.setTransform(designToPicture, true);
    drawMouse(p, models().at(size_t(model)), true);
    p.restore();
}

void floorGlowAt(QPainter& p, QPointF centre) { floorGlow(p, centre, true); }

void unknownTile(QPainter& p, QSize s)
{
    card(p, s, false);
    floorGlow(p, QPointF(s.width() / 2.0, 170), false);
    const qreal scale = 236 / 310.0;
    p.save();
    p.translate(s.width() / 2.0 - 100 * scale, 48 + 5 * scale);
    p.scale(scale, scale);
    QPainterPath body = outlinePath(models().front());
    p.setPen(QPen(icon, 3, Qt::DashLine, Qt::RoundCap));
    p.setBrush(QColor(28, 33, 40));
    p.drawPath(body);
    p.setPen(accent);
    p.setFont(font(110, true));
    p.drawText(QRectF(0, 40, 200, 220), Qt::AlignCenter, QStringLiteral("?"));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawRoundedRect(QRectF(s.width() / 2.0 - 18, s.height() - 26, 36, 3), 1.5, 1.5);
}

}  // namespace MouseArt
