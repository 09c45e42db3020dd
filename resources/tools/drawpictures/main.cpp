// Build-time tool: draws every picture the program shows into <output folder>/<sub-folder>/,
// and the regions of the buttons on the button page's mouse pictures beside them.
// Usage: drawpictures <output folder>
#include "ButtonPageMouse.h"
#include "PictureTable.h"
#include "PngFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime folder Qt picks one in /tmp with a warning on standard error; the
    // tool takes a private one of its own for its run instead.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const std::vector<PictureEntry> table = pictureTable();
    for (const PictureEntry& entry : table) {
        QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        entry.draw(painter, entry.size);
        painter.end();

        const QString path = out.filePath(entry.file);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(encodeUnfilteredPng(image)) < 0 || !file.commit()) {
            std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    // Beside the button page's mouse pictures: where each marker's button lies in them.
    const QString regions = out.filePath(QStringLiteral("Buttoninterface/MouseButtons.json"));
    if (!ButtonPageMouse::writeButtonRegions(regions)) {
        std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(regions));
        return 1;
    }
    std::printf("drawpictures: %d pictures in %s\n", int(table.size()), qPrintable(out.absolutePath()));
    return 0;
}
