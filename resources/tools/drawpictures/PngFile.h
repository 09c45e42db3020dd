#pragma once
#include <QByteArray>
#include <QImage>

// The pictures as PNG files whose rows are stored unfiltered: the program decodes many of them
// on its first clicks, and an unfiltered row costs the reader no per-pixel arithmetic (libpng's
// adaptive filters, which QImageWriter always uses, do). The deflate stream stays at the
// highest level, so the files are no larger than before. Opaque pictures are stored as RGB.
QByteArray encodeUnfilteredPng(const QImage& image);
