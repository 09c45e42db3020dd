// Shows one notice or confirmation dialog by itself, for the screenshot script:
//   kavro_preview <DialogClassName>
#include "common/Fonts.h"
#include "preview/DialogPreview.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 2) {
        std::fprintf(stderr, "usage: kavro_preview <DialogClassName>\n");
        return 2;
    }
    return runDialogPreview(QByteArray(argv[1]));
}
