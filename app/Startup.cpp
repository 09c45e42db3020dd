#include "app/Startup.h"

#include "app/CrashHandler.h"
#include "app/SingleInstance.h"
#include "app/UserFolders.h"
#include "common/AppPaths.h"
#include "common/Fonts.h"
#include "common/PictureCache.h"
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
    installFontSubstitutions();
    PictureCache::holdPicturesOf(AppPaths::programDir() + QStringLiteral("/Picture"));

    // Kept until the process ends: the segment marks this instance as the running one.
    static SingleInstance* instance = new SingleInstance(userDir);
    if (instance->otherInstanceRunning()) {
        ExeIsRun notice;
        notice.exec();
        return 0;
    }

    // Before the top window: a crash on the choice page, or while it is built, is reported too.
    CrashHandler().install();
    QWidget* top = makeTopWindow();
    top->show();
    return app.exec();
}
