// The program's dialogs as windows: each belongs to the window it was opened from (its
// transient parent), is a dialog the window manager keeps, and is modal to that window; a notice
// over a dialog belongs to the dialog, and one that comes while the window is in the tray waits
// for the window.
#include "ShellTestSupport.h"

#include "common/DialogFrame.h"
#include "common/MessageFilter.h"
#include "device/SharedFlags.h"
#include "dialogs/ContainReset.h"
#include "dialogs/MouseOffLine.h"
#include "preview/DialogPreview.h"
#include "shell/DialogMain.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"
#include "support/WindowClick.h"

#include <QApplication>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace shelltest;

namespace {

// The window as it behaves where the desktop has a tray.
class TrayWindow : public DialogMain {
protected:
    bool hasSystemTray() const override { return true; }
};

// What a dialog was while it ran.
struct Seen {
    bool shown = false;
    Qt::WindowFlags flags;
    QWindow* transientParent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    int clicksBehind = 0;
    int keysBehind = 0;
};

}  // namespace

class DialogWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void belongsToItsOpener_data();
    void belongsToItsOpener();
    void noticeOverADialogBelongsToTheDialog();
    void noticeWhileInTheTrayShowsWithTheWindow();
    void noticeClosedInTheTrayNeverShows();
    void dropsOnlyQtsOwnXRace_data();
    void dropsOnlyQtsOwnXRace();

private:
    std::unique_ptr<TestEnv> m_env;
};

void DialogWindowsTest::init()
{
    m_env = std::make_unique<TestEnv>();
    prepare(*m_env);
    NoBusyDialog = 1;
}

void DialogWindowsTest::cleanup()
{
    clearShellFlags();
    m_env.reset();
}

void DialogWindowsTest::belongsToItsOpener_data()
{
    QTest::addColumn<QByteArray>("name");
    for (const QByteArray& name : previewDialogNames()) {
        if (!name.startsWith("MacroPage"))  // a page in a plain window, not a dialog
            QTest::newRow(name.constData()) << name;
    }
}

// Opened as the program opens them: without a parent, placed over a widget of the window.
void DialogWindowsTest::belongsToItsOpener()
{
    QFETCH(QByteArray, name);
    QWidget window;
    window.resize(900, 600);
    auto* behind = new QPushButton(QStringLiteral("behind"), &window);
    behind->setGeometry(10, 10, 120, 40);
    int clicks = 0;
    connect(behind, &QPushButton::clicked, this, [&clicks] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    behind->setFocus();

    std::unique_ptr<QDialog> dialog(makePreviewDialog(name));
    QVERIFY(dialog);
    placeCentred(dialog.get(), behind);
    Seen seen;
    QTimer::singleShot(0, dialog.get(), [&] {
        seen.shown = dialog->isVisible();
        seen.flags = dialog->windowFlags();
        seen.transientParent = dialog->windowHandle() ? dialog->windowHandle()->transientParent() : nullptr;
        seen.modality = dialog->windowModality();
        // A click and a key into the window behind, as the system hands them in.
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, behind->geometry().center());
        QTest::keyClick(window.windowHandle(), Qt::Key_Space);
        seen.clicksBehind = clicks;
        dialog->hide();
    });
    dialog->exec();

    QVERIFY(seen.shown);
#ifndef Q_OS_WIN
    QVERIFY(!(seen.flags & Qt::BypassWindowManagerHint));
    QCOMPARE(seen.flags & Qt::WindowType_Mask, Qt::Dialog);
#endif
    if (name != "LanSetting")  // the language dialog keeps its title bar
        QVERIFY(seen.flags & Qt::FramelessWindowHint);
    QCOMPARE(seen.transientParent, window.windowHandle());
    QVERIFY(seen.modality != Qt::NonModal);
    QCOMPARE(seen.clicksBehind, 0);
    // Only now may the window behind take its click.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, behind->geometry().center());
    QCOMPARE(clicks, 1);
}

// The offline notice comes from the top-level window while a confirmation runs over it: it
// stacks over the confirmation and belongs to it.
void DialogWindowsTest::noticeOverADialogBelongsToTheDialog()
{
    TrayWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ContainReset confirm;
    placeCentred(&confirm, &window);
    QWindow* noticeParent = nullptr;
    QString noticeClass;
    ModalAnswerer answerer;
    answerer.on(QStringLiteral("ContainReset"), [](QWidget*) { PostMsg::instance()->SendMouseOffLineo(0); });
    answerer.on(QStringLiteral("MouseOffLine"), [&](QWidget* notice) {
        noticeClass = QString::fromLatin1(notice->metaObject()->className());
        noticeParent = notice->windowHandle()->transientParent();
        notice->close();
        confirm.reject();
    });
    confirm.exec();
    QCOMPARE(noticeClass, QStringLiteral("MouseOffLine"));
    QVERIFY(confirm.windowHandle());
    QCOMPARE(noticeParent, confirm.windowHandle());
    QCOMPARE(answerer.handled(), (QStringList{"ContainReset", "MouseOffLine"}));
}

// Hidden in the tray, the window shows no notice alone on the desktop: the notice waits and
// comes with the window, over it.
void DialogWindowsTest::noticeWhileInTheTrayShowsWithTheWindow()
{
    TrayWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickInWindow(window.findChild<QWidget*>(QStringLiteral("MinButton")));  // to the tray
    QVERIFY(!window.isVisible());
    QVERIFY(window.trayIcon()->isVisible());

    bool shownAlone = false;
    bool shownOver = false;
    QWindow* parent = nullptr;
    bool windowShown = false;
    // Looks for the notice from inside its wait; brings the window back once it was seen
    // waiting, then closes the notice.
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
        MouseOffLine* notice = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            notice = notice ? notice : qobject_cast<MouseOffLine*>(top);
        if (!notice)
            return;
        if (!windowShown) {
            shownAlone = notice->isVisible();
            windowShown = true;
            emit window.trayIcon()->activated(QSystemTrayIcon::Trigger);
            return;
        }
        if (notice->isVisible() && !shownOver) {
            shownOver = true;
            parent = notice->windowHandle()->transientParent();
            notice->close();
        }
    });
    look.start(20);
    PostMsg::instance()->SendMouseOffLineo(0);
    QTRY_VERIFY_WITH_TIMEOUT(shownOver || shownAlone, 10000);
    QVERIFY2(!shownAlone, "the notice showed while the window was in the tray");
    QVERIFY(window.isVisible());
    QCOMPARE(parent, window.windowHandle());
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

// The mouse comes back while the window is still in the tray: the waiting notice closes as it
// would when shown, its run ends, and the window comes back without it.
void DialogWindowsTest::noticeClosedInTheTrayNeverShows()
{
    TrayWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickInWindow(window.findChild<QWidget*>(QStringLiteral("MinButton")));  // to the tray
    const auto notice = [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<MouseOffLine*>(top))
                return found;
        }
        return static_cast<MouseOffLine*>(nullptr);
    };
    bool closed = false;
    bool shown = false;
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
        if (closed || !notice() || WaitingForMouse != 1)
            return;
        shown = notice()->isVisible();
        closed = true;
        PostMsg::instance()->SendCloseOffOnline();
    });
    look.start(20);
    PostMsg::instance()->SendMouseOffLineo(0);
    QTRY_VERIFY(closed && !notice());
    QVERIFY2(!shown, "the notice showed while the window was in the tray");
    emit window.trayIcon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(window.isVisible());
    QVERIFY(runQueuedWork());
    QVERIFY(!notice());
    QVERIFY(!QApplication::activeModalWidget());
}

void DialogWindowsTest::dropsOnlyQtsOwnXRace_data()
{
    QTest::addColumn<QByteArray>("category");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dropped");
    const QString race = QStringLiteral("QXcbConnection: XCB error: 3 (BadWindow), sequence: 1210, resource id: "
                                        "2098736, major code: 40 (TranslateCoords), minor code: 0");
    QTest::newRow("Qt's race") << QByteArray("qt.qpa.xcb") << race << true;
    QTest::newRow("focus on a window not shown")
        << QByteArray("qt.qpa.xcb")
        << QStringLiteral("QXcbConnection: XCB error: 8 (BadMatch), sequence: 4066, resource id: 6291486, major "
                          "code: 42 (SetInputFocus), minor code: 0")
        << false;
    QTest::newRow("BadWindow of another request")
        << QByteArray("qt.qpa.xcb")
        << QStringLiteral("QXcbConnection: XCB error: 3 (BadWindow), sequence: 77, resource id: 12, major code: 18 "
                          "(ChangeProperty), minor code: 0")
        << false;
    QTest::newRow("same words elsewhere") << QByteArray("kavro.trace") << race << false;
    QTest::newRow("more after it") << QByteArray("qt.qpa.xcb") << race + QStringLiteral(" (and more)") << false;
}

void DialogWindowsTest::dropsOnlyQtsOwnXRace()
{
    QFETCH(QByteArray, category);
    QFETCH(QString, text);
    QFETCH(bool, dropped);
    QCOMPARE(isQtTranslateCoordsRace(category.constData(), text), dropped);
}

QTEST_MAIN(DialogWindowsTest)
#include "tst_dialog_windows.moc"
