// The pairing and repair dialogs: skinned from their picture folders, closable with their close
// button, the repair dialog without untranslated texts; and the windows' pictures are found in a
// program folder whose path has a blank, an apostrophe and brackets.
#include "ShellTestSupport.h"

#include "common/AppPaths.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"

#include "HIDUsbControl.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include <functional>
#include <memory>

using namespace shelltest;

namespace {

using Factory = std::function<QWidget*()>;

// Texts in a language the interface may not be in: anything outside Latin-1.
QStringList foreignTexts(QWidget* dialog)
{
    QStringList found;
    auto check = [&](const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() > 0xFF) {
                found << text;
                return;
            }
        }
    };
    for (QLabel* label : dialog->findChildren<QLabel*>())
        check(label->text());
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        check(button->text());
    return found;
}

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

QImage render(const Factory& make)
{
    UserConfig::reload();
    std::unique_ptr<QWidget> widget(make());
    widget->show();
    QCoreApplication::processEvents();
    return widget->grab().toImage();
}

// Runs `dialog` modally and clicks its close button; false when that did not end the run.
bool closesWithCloseButton(QDialog* dialog)
{
    ModalAnswerer answerer;
    answerer.setDefault([](QWidget*) {});
    answerer.on(QString::fromLatin1(dialog->metaObject()->className()), ModalAnswerer::clickButton(QStringLiteral("CloseButton")));
    bool stuck = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        stuck = true;
        dialog->reject();
    });
    guard.start(5000);
    const int result = dialog->exec();
    return !stuck && result == QDialog::Rejected && answerer.count() == 1;
}

}  // namespace

Q_DECLARE_METATYPE(Factory)

class PairingAndRepairDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>();
        prepare(*m_env);
    }
    void cleanup() { m_env.reset(); }

    void repairDialogIsSkinnedAndCloses()
    {
        UpDateRepair repair;
        QCOMPARE(repair.size(), QSize(300, 140));
        QVERIFY(repair.windowFlags() & Qt::FramelessWindowHint);
        const QString background = repair.findChild<QFrame*>(QStringLiteral("AutoRepair"))->styleSheet();
        QVERIFY2(background.contains(QStringLiteral("/Picture/WarningDialog/BackGround.png")), qPrintable(background));
        QVERIFY(repair.findChild<QAbstractButton*>(QStringLiteral("CloseButton"))->styleSheet().contains(QStringLiteral("Close.png")));
        QCOMPARE(foreignTexts(&repair), QStringList());

        QVERIFY(closesWithCloseButton(&repair));
    }

    void pairingDialogIsSkinnedAndClosesToChoicePage()
    {
        Match match;
        match.SetPairButtonImage();
        QCOMPARE(match.size(), QSize(458, 242));
        const QString background = match.findChild<QFrame*>(QStringLiteral("MatchA"))->styleSheet();
        QVERIFY2(background.contains(QStringLiteral("/Picture/Setting/BackSecondPage.png")), qPrintable(background));

        HidSim_ClearCallLog();
        QVERIFY(closesWithCloseButton(&match));
        // Closing hands the hot-plug watch to the choice page.
        QCOMPARE(SimScript::countCalls(QStringLiteral("StartUsbChanged")), 1);
    }

    void picturesFoundInFolderWithApostropheAndBlank_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::newRow("choice page") << Factory([] { return new DialogChange; });
        QTest::newRow("configuration frame") << Factory([] { return new Dialog; });
        QTest::newRow("pairing dialog") << Factory([] { return new Match; });
    }
    void picturesFoundInFolderWithApostropheAndBlank()
    {
        QFETCH(Factory, make);
        const QImage plain = render(make);

        QTemporaryDir base;
        const QString spaced = base.path() + QStringLiteral("/Kavro's Mouse (x86)");
        copyFolder(m_env->programDir(), spaced);
        AppPaths::setProgramDir(spaced);
        const QImage inSpacedFolder = render(make);

        // Without pictures the window looks different, so the comparison above saw them.
        QVERIFY(QDir(spaced).rename(QStringLiteral("Picture"), QStringLiteral("NoPicture")));
        const QImage withoutPictures = render(make);
        AppPaths::setProgramDir(m_env->programDir());

        QVERIFY(!plain.isNull());
        QVERIFY(inSpacedFolder == plain);
        QVERIFY(withoutPictures != plain);
    }

private:
    std::unique_ptr<TestEnv> m_env;
};

QTEST_MAIN(PairingAndRepairDialogsTest)
#include "tst_pairing_and_repair_dialogs.moc"
