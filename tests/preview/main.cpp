// Shows one notice or confirmation dialog by itself, for the screenshot script:
//   kavro_preview <DialogClassName> [--over-window]
#include "common/Fonts.h"
#include "preview/DialogPreview.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 2) {
        std::fprintf(stderr, "usage: kavro_preview <DialogClassName> [--over-window]\n");
        return 2;
    }
    return runDialogPreview(QByteArray(argv[1]), argc > 2 && QByteArray(argv[2]) == "--over-window");
}
