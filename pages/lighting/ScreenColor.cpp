#include "pages/lighting/ScreenColor.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

std::optional<QColor> ScreenGrabColorSource::colorAt(const QPoint& globalPos)
{
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const QPoint local = globalPos - screen->geometry().topLeft();
    const QPixmap grab = screen->grabWindow(0, local.x(), local.y(), 2, 2);
    if (grab.isNull())
        return std::nullopt;
    const QImage image = grab.toImage();
    if (image.isNull() || !image.valid(0, 0))
        return std::nullopt;
    return image.pixelColor(0, 0);
}
