#include "app/Startup.h"

#include "app/CrashHandler.h"
#include "app/DialogPreview.h"
#include "app/SingleInstance.h"
#include "app/UserFolders.h"
#include "common/AppPaths.h"
#if __has_include("common/Fonts.h")
#include "common/Fonts.h"
#define KAVRO_HAVE_FONTS 1
#endif
#include "dialogs/ExeIsRun.h"

#include <QApplication>
#include <QWidget>

int runProgram(int& argc, char** argv, const TopWindowFactory& makeTopWindow)
{
    prepareUserFolders();
    const QString userDir = AppPaths::userDataDir();
    PurgeOldFiles(userDir + QStringLiteral("/Log"));
    PurgeOldFiles(userDir + QStringLiteral("/Exception"));

    QApplication app(argc, argv);
#ifdef KAVRO_HAVE_FONTS
    installFontSubstitutions();
#endif
    if (dialogPreviewRequested())
        return runDialogPreview();

    // Kept until the process ends: the segment marks this instance as the running one.
    static SingleInstance* instance = new SingleInstance(userDir);
    if (instance->otherInstanceRunning()) {
        ExeIsRun notice;
        notice.exec();
        return 0;
    }

    static CrashHandler crashHandler;
    crashHandler.install();

    QWidget* top = makeTopWindow();
    top->show();
    return app.exec();
}
