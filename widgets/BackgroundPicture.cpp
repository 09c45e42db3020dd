#include "widgets/BackgroundPicture.h"

#include "common/CheckedFile.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

BackgroundPicture::BackgroundPicture(QWidget* parent)
    : QWidget(parent)
{
    // Behind everything, and never in the hand's way: a press goes to the window below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BackgroundPicture::setPicture(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_image = QImage();
    QFile file;
    if (!path.isEmpty() && CheckedFile::open(file, path, CheckedFile::PictureLimit).status == CheckedFile::Status::Ok) {
        QImage decoded = QImageReader(&file).read();
        m_image = decoded.hasAlphaChannel() ? std::move(decoded).convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                            : std::move(decoded).convertToFormat(QImage::Format_RGB888);
    }
    // An opaque picture covers all below it: nothing there needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_image.isNull() && !m_image.hasAlphaChannel());
    update();
}

void BackgroundPicture::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), m_image);
}
