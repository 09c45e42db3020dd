#include "Backgrounds.h"
#include "Icons.h"
#include "Style.h"
#include "common/FramePanel.h"
#include <QLinearGradient>
#include <QRadialGradient>

namespace Backgrounds {
using namespace Style;

namespace {

void wordmark(QPainter& p, QPointF at, int size)
{
    p.save();
    p.translate(at);
    Icons::logo(p, QSize(size, size));
    p.restore();
    QFont f = font(size * 2 / 3, true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, size / 8.0);
    p.setFont(f);
    p.setPen(iconLight);
    p.drawText(QRectF(at.x() + size + 10, at.y(), 200, size), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("KAVRO"));
}

}  // namespace

void dialog(QPainter& p, QSize s)
{
    const QRectF r(QPointF(0, 0), s);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(30, 35, 42));
    g.setColorAt(1, QColor(20, 24, 29));
    p.fillRect(r, g);
    p.setPen(QPen(lineLight, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillRect(QRectF(1, 1, s.width() - 2, 2), accent);
    // The divider above the button row is drawn by the dialogs that have buttons.
}

void frame(QPainter& p, QSize s, int pageButtons)
{
    p.fillRect(QRectF(QPointF(0, 0), s), deep);

    // Top bar with the brand and the page-button rail.
    QLinearGradient bar(0, 0, 0, 103);
    bar.setColorAt(0, QColor(30, 35, 42));
    bar.setColorAt(1, QColor(21, 25, 30));
    p.fillRect(QRectF(0, 0, s.width(), 103), bar);
    p.fillRect(QRectF(0, 102, s.width(), 1), line);
    wordmark(p, QPointF(28, 44), 34);
    const qreal railRight = 248 + 77.25 * (pageButtons - 1) + 30 + 12;
    panel(p, QRectF(236, 52, railRight - 236, 46), 10, QColor(19, 23, 28), line);

    // Side column where the back arrow sits.
    p.fillRect(QRectF(0, 103, 131, s.height() - 103), QColor(20, 24, 29));
    p.fillRect(QRectF(130, 103, 1, s.height() - 103), line);

    // Content area for the pages.
    QLinearGradient content(0, 104, 0, s.height());
    content.setColorAt(0, QColor(25, 29, 35));
    content.setColorAt(1, QColor(19, 22, 27));
    p.setPen(QPen(line, 1));
    p.setBrush(content);
    // Starts right under the top bar: the pages' first rows sit close below it. The pages keep
    // within its edge.
    p.drawRoundedRect(QRectF(FramePanel::Outer).adjusted(0.5, 0.5, -0.5, -0.5), FramePanel::Radius, FramePanel::Radius);
}

void choicePage(QPainter& p, QSize s)
{
    const QRectF r(QPointF(0, 0), s);
    p.fillRect(r, deep);
    QRadialGradient glow(QPointF(s.width() / 2.0, 380), 520);
    glow.setColorAt(0, QColor(32, 200, 255, 38));
    glow.setColorAt(0.6, QColor(32, 200, 255, 8));
    glow.setColorAt(1, QColor(32, 200, 255, 0));
    p.fillRect(r, glow);

    // A quiet dot grid gives the surface some depth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 10));
    for (int y = 70; y < s.height() - 20; y += 24)
        for (int x = 16; x < s.width(); x += 24)
            p.drawEllipse(QPointF(x, y), 1, 1);

    // Title bar.
    p.fillRect(QRectF(0, 0, s.width(), 50), QColor(22, 26, 32, 235));
    p.fillRect(QRectF(0, 50, s.width(), 1), line);
    wordmark(p, QPointF(20, 9), 32);
    p.setFont(font(13));
    p.setPen(icon);
    p.drawText(QRectF(185, 9, 300, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MOUSE SOFTWARE"));

    // Floor line under the tiles.
    QLinearGradient floor(0, 0, s.width(), 0);
    floor.setColorAt(0, QColor(32, 200, 255, 0));
    floor.setColorAt(0.5, QColor(32, 200, 255, 120));
    floor.setColorAt(1, QColor(32, 200, 255, 0));
    p.fillRect(QRectF(60, 575, s.width() - 120, 1), floor);
}

void pairingDialog(QPainter& p, QSize s)
{
    dialog(p, s);

    // Left column: a receiver below, the mouse above, waves between them.
    p.fillRect(QRectF(1, 3, 70, s.height() - 4), QColor(17, 20, 24, 150));
    p.fillRect(QRectF(71, 3, 1, s.height() - 4), line);
    const QPointF mouse(36, 72);
    p.setPen(QPen(icon, 2));
    p.setBrush(QColor(32, 38, 46));
    p.drawRoundedRect(QRectF(mouse.x() - 13, mouse.y() - 21, 26, 42), 13, 13);
    p.drawLine(QPointF(mouse.x(), mouse.y() - 21), QPointF(mouse.x(), mouse.y() - 7));
    p.drawLine(QPointF(mouse.x() - 13, mouse.y() - 6), QPointF(mouse.x() + 13, mouse.y() - 6));
    p.setPen(QPen(accent, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF wave(36, 140);
    for (int i = 1; i <= 3; ++i) {
        const qreal radius = i * 7.0;
        p.drawArc(QRectF(wave.x() - radius, wave.y() - radius, 2 * radius, 2 * radius), 50 * 16, 80 * 16);
    }
    const QRectF receiver(24, 158, 24, 30);
    p.setPen(QPen(icon, 2));
    p.setBrush(QColor(32, 38, 46));
    p.drawRoundedRect(receiver, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(receiver.center().x(), receiver.top() + 8), 2.5, 2.5);
    p.setBrush(icon);
    p.drawRect(QRectF(receiver.left() + 5, receiver.bottom() + 1, receiver.width() - 10, 10));

    // A faint divider above the pair button.
    p.fillRect(QRectF(90, 186, s.width() - 110, 1), QColor(255, 255, 255, 14));
}

}  // namespace Backgrounds
