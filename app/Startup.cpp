#include "app/Startup.h"

#include "app/CrashHandler.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/UserFolders.h"
#include "common/AppPaths.h"
#include "common/Fonts.h"
#include "common/MessageFilter.h"
#include "common/PictureCache.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/UserFolderFail.h"
#include "widgets/AfterFirstPaint.h"

#include <QApplication>
#include <QWidget>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int runProgram(int& argc, char** argv, const TopWindowFactory& makeTopWindow)
{
#ifdef __GLIBC__
    // Decoded pictures are the program's large blocks: each gets pages of its own that go back
    // to the system when it is freed (a decode's passing copy), instead of staying in the heap
    // once glibc would have raised its threshold after the first such block. The few threads
    // allocate little: one arena serves them all.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 1);
#endif
    installMessageFilter();
    const bool userFolderReady = prepareUserFolders();
    const QString userDir = AppPaths::userDataDir();
    PurgeOldFiles(userDir + QStringLiteral("/Log"));
    PurgeOldFiles(userDir + QStringLiteral("/Exception"));

    QApplication app(argc, argv);
    installFontSubstitutions();
    // Sizing the picture cache reads the header of every picture; the first window's few
    // pictures fit in the cache as it comes, so that waits until they are painted.
    runAfterFirstPaint(&app, &app, [] { PictureCache::holdPicturesOf(AppPaths::programDir() + QStringLiteral("/Picture")); });

    // Kept until the process ends: the segment marks this instance as the running one.
    static SingleInstance* instance = new SingleInstance(userDir);
    if (instance->otherInstanceRunning()) {
        ExeIsRun notice;
        notice.exec();
        return 0;
    }

    // Before the top window: a crash on the choice page, or while it is built, is reported too.
    CrashHandler().install();
    if (!userFolderReady) {
        // Nothing the user chooses could be kept: better said now than found at the next start.
        UserFolderFail notice;
        notice.exec();
    }
    // Caught from here on: a logout while the window is built closes it once it is there.
    auto* quitSignals = new QuitSignals(&app);
    QWidget* top = makeTopWindow();
    quitSignals->closeOnRequest(top);
    top->show();
    return app.exec();
}
