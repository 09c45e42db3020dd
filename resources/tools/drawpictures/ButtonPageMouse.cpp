#include "ButtonPageMouse.h"
#include "Style.h"
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QSaveFile>
#include <map>

namespace ButtonPageMouse {
using MouseArt::Part;

namespace {

constexpr int MarkerSize = 38;

// Top-left corners of the markers 1..6 by picture index, as the button page places them (the
// page's test checks that they agree); marker 7 keeps its form place and shows for pictures
// 4, 5 and 6.
QVector<QPointF> markerCorners(int picture)
{
    switch (picture) {
    case 0:
    case 1: return {{140, 190}, {50, 150}, {110, 138}, {265, 173}, {305, 140}, {320, 220}};
    case 3:
    case 8: return {{90, 65}, {190, 65}, {140, 65}, {55, 138}, {55, 175}, {287, 175}};
    case 9: return {{85, 65}, {185, 65}, {134, 65}, {45, 135}, {45, 170}, {226, 135}};
    case 10: return {{82, 68}, {182, 68}, {132, 68}, {32, 132}, {32, 175}, {224, 145}};
    default: return {{90, 65}, {190, 65}, {140, 65}, {55, 138}, {55, 175}, {223, 175}};
    }
}
const QPointF seventhCorner(138, 127);

bool showsSeventh(int picture) { return picture >= 4 && picture <= 6; }

// How a model lies in its picture: turned by `angle` degrees about the centre of its design
// box, which lands on `centre`, and scaled. Every model's front points up as on its tile. The
// first two pictures' markers stand left of a mouse in the top right corner: the lines of the
// main buttons run above its front, those of the thumb buttons come from the left, where the
// thumb buttons face. The others' markers stand above and beside the mouse, clear of every
// button; where marker 7 shows, the mouse lies below it, and the lines of the wheel and of the
// top button bend around it.
struct Pose {
    qreal angle;
    qreal scale;
    QPointF centre;
    // Where a marker's line meets its button, in the design box, when not the button's middle.
    std::map<int, QPointF> targets;
    // The bends on the way of a marker's line, in picture coordinates; a coordinate AtEnd is
    // that of the line's end, so that the last leg runs straight up, down or across.
    std::map<int, QVector<QPointF>> bends;
};
constexpr qreal AtEnd = 0;

// Below marker 7 the wheel's line comes down between it and marker 2, and the top button's
// straight down from marker 7 over the left button.
const std::map<int, QVector<QPointF>> aroundSeventh = {
    {3, {{182, 110}, {182, AtEnd}}}, {4, {{104, 157}}}, {7, {{157, AtEnd}}}};

Pose pose(int picture)
{
    switch (picture) {
    case 0:
        return {0, 0.58, {389, 117}, {{1, {60, 70}}, {2, {140, 70}}, {3, {100, 62}}, {4, {36, 136}}, {5, {38, 164}}},
            {{1, {{159, AtEnd}}}, {2, {{69, 12}, {AtEnd, 12}}}, {3, {{129, 22}, {AtEnd, 22}}}, {4, {{284, AtEnd}}}}};
    case 1:
        return {0, 0.55, {382, 117}, {{1, {60, 72}}, {2, {140, 72}}, {3, {100, 62}}, {4, {30, 140}}, {5, {34, 170}}},
            {{1, {{159, AtEnd}}}, {2, {{69, 12}, {AtEnd, 12}}}, {3, {{129, 22}, {AtEnd, 22}}}, {4, {{284, AtEnd}}}}};
    case 4:
        return {0, 0.7, {170, 243},
            {{1, {60, 90}}, {2, {140, 85}}, {3, {107, 60}}, {4, {40, 150}}, {5, {40, 195}}, {6, {104, 113}}, {7, {96, 157}}},
            aroundSeventh};
    case 5:
        return {0, 0.58, {170, 255},
            {{1, {45, 50}}, {2, {150, 40}}, {3, {107, 60}}, {4, {35, 120}}, {5, {35, 143}}, {6, {104, 91}}, {7, {96, 129}}},
            aroundSeventh};
    case 6:
        return {0, 0.58, {170, 255},
            {{1, {58, 50}}, {2, {145, 40}}, {3, {107, 60}}, {4, {52, 140}}, {5, {50, 200}}, {6, {104, 103}}, {7, {96, 143}}},
            aroundSeventh};
    case 9:
        return {0, 0.68, {175, 237}, {{1, {62, 48}}, {2, {138, 48}}}, {{4, {{104, 157}}}}};
    default: return {0, 0.72, {168, 235}, {{1, {62, 48}}, {2, {138, 48}}}, {{4, {{104, 157}}}}};
    }
}

QTransform designToPicture(const Pose& pose)
{
    QTransform t;
    t.translate(pose.centre.x(), pose.centre.y());
    t.rotate(pose.angle);
    t.scale(pose.scale, pose.scale);
    t.translate(-100, -150);
    return t;
}

Part partOf(int marker)
{
    static const Part parts[] = {Part::LeftButton, Part::RightButton, Part::Wheel, Part::SideFront, Part::SideRear,
        Part::DpiButton, Part::TopButton};
    return parts[marker - 1];
}

}  // namespace

QSize pictureSize() { return QSize(432, 356); }

QVector<Leader> leaders(int model)
{
    const Pose p = pose(model);
    const QTransform t = designToPicture(p);
    QVector<QPointF> corners = markerCorners(model);
    if (showsSeventh(model))
        corners.append(seventhCorner);
    QVector<Leader> list;
    for (int i = 0; i < corners.size(); ++i) {
        const int marker = i + 1;
        Leader leader{marker, partOf(marker), {}, {}};
        const QPainterPath region = MouseArt::partRegion(model, leader.part);
        const auto chosen = p.targets.find(marker);
        const QPointF target = chosen != p.targets.end() ? chosen->second : region.boundingRect().center();
        leader.button = t.map(region);
        const QPointF end = t.map(target);
        leader.line << corners.at(i) + QPointF(MarkerSize / 2.0, MarkerSize / 2.0);
        const auto bends = p.bends.find(marker);
        if (bends != p.bends.end())
            for (const QPointF& bend : bends->second)
                leader.line << QPointF(bend.x() == AtEnd ? end.x() : bend.x(), bend.y() == AtEnd ? end.y() : bend.y());
        leader.line << end;
        list.append(leader);
    }
    return list;
}

namespace {

// The floor's light under the mouse, fading out before the picture's edges: the page shows the
// picture on a plain background, where a light cut off by the edge would show a seam.
void glowInside(QPainter& p, QPointF centre)
{
    const QSize size = pictureSize();
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    MouseArt::floorGlowAt(lp, centre);
    lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    const qreal margin = 48;
    for (const QLineF& across : {QLineF(0, 0, size.width(), 0), QLineF(0, 0, 0, size.height())}) {
        QLinearGradient fade(across.p1(), across.p2());
        const qreal in = margin / across.length();
        fade.setColorAt(0, Qt::transparent);
        fade.setColorAt(in, Qt::black);
        fade.setColorAt(1 - in, Qt::black);
        fade.setColorAt(1, Qt::transparent);
        lp.fillRect(layer.rect(), fade);
    }
    lp.end();
    p.drawImage(QPointF(0, 0), layer);
}

}  // namespace

void draw(QPainter& p, int model)
{
    const QTransform t = designToPicture(pose(model));
    glowInside(p, t.map(QPointF(100, 170)));
    MouseArt::drawMouseAt(p, model, t);
    for (const Leader& leader : leaders(model)) {
        p.setPen(QPen(QColor(32, 200, 255, 190), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(leader.line);
        p.setPen(QPen(Style::deep, 1.5));
        p.setBrush(Style::accent);
        p.drawEllipse(leader.line.last(), 4, 4);
    }
}

bool writeButtonRegions(const QString& file)
{
    const auto points = [](const QPolygonF& polygon) {
        QJsonArray list;
        for (const QPointF& point : polygon)
            list.append(QJsonArray{qRound(point.x() * 10) / 10.0, qRound(point.y() * 10) / 10.0});
        return list;
    };
    QJsonArray pictures;
    for (int model = 0; model < MouseArt::modelCount(); ++model) {
        QJsonArray markers;
        for (const Leader& leader : leaders(model)) {
            QJsonObject entry;
            entry.insert(QStringLiteral("marker"), leader.marker);
            entry.insert(QStringLiteral("line"), points(leader.line));
            entry.insert(QStringLiteral("button"), points(leader.button.toFillPolygon()));
            markers.append(entry);
        }
        QJsonObject picture;
        picture.insert(QStringLiteral("picture"), QStringLiteral("mouse%1.png").arg(model));
        const QPainterPath body = designToPicture(pose(model)).map(MouseArt::bodyOutline(model));
        picture.insert(QStringLiteral("body"), points(body.toFillPolygon()));
        picture.insert(QStringLiteral("markers"), markers);
        pictures.append(picture);
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(pictures).toJson(QJsonDocument::Compact));
    return out.commit();
}

}  // namespace ButtonPageMouse
