#pragma once
#include <QImage>
#include <QString>
#include <QWidget>

// A window's full-size background picture, drawn behind its controls. An opaque picture is
// kept as 24-bit RGB: a quarter less memory than the pixmap a style sheet would keep of it
// (2 MiB instead of 2.7 MiB for 1020 x 700), at the cost of a conversion while it is drawn.
class BackgroundPicture : public QWidget {
public:
    explicit BackgroundPicture(QWidget* parent = nullptr);

    // Shows the picture at `path`, stretched over the widget; a missing or damaged file, or an
    // empty path, shows nothing. The same path again decodes nothing.
    void setPicture(const QString& path);
    QString picture() const { return m_path; }
    // The decoded picture as it is kept.
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    QImage m_image;
};
