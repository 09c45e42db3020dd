#pragma once
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPolygonF>
#include <QVector>
#include <initializer_list>
#include <QRectF>

// The one look of every picture: dark surfaces, grey icons, one cyan accent.
namespace Style {

inline const QColor deep{17, 20, 24};
inline const QColor surface{24, 28, 34};
inline const QColor raised{32, 38, 46};
inline const QColor line{46, 54, 64};
inline const QColor lineLight{62, 72, 86};
inline const QColor icon{141, 150, 163};
inline const QColor iconLight{230, 234, 239};
inline const QColor accent{32, 200, 255};
inline const QColor accentDim{0, 122, 160};
inline const QColor accentDeep{14, 52, 66};
inline const QColor warning{224, 83, 63};

// Normal, mouse over, and pressed / checked / selected.
enum class Look { Normal, Hover, Active };

inline QColor iconColor(Look look)
{
    switch (look) {
    case Look::Hover: return iconLight;
    case Look::Active: return accent;
    default: return icon;
    }
}

inline QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

inline QPen pen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

inline QPolygonF poly(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

// A rounded panel with a one-pixel border, aligned to the pixel grid.
inline void panel(QPainter& p, const QRectF& r, qreal radius, const QColor& fill, const QColor& border,
    qreal borderWidth = 1.0)
{
    const qreal h = borderWidth / 2.0;
    p.setPen(borderWidth > 0 ? QPen(border, borderWidth) : Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(h, h, -h, -h), radius, radius);
}

}  // namespace Style
