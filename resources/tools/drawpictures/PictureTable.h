#pragma once
#include <QPainter>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

// Every picture the program names: file below "Picture/", size, what it shows, how to draw it.
struct PictureEntry {
    QString file;
    QSize size;
    QString shows;
    std::function<void(QPainter&, QSize)> draw;
};

std::vector<PictureEntry> pictureTable();
