// The notice, confirmation and progress dialogs on the shared dialog frame.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/SharedFlags.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/Progress.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/SameMacro.h"
#include "dialogs/UpDateWarning.h"
#include "support/RunModal.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const QByteArray English = R"(<?xml version="1.0" encoding="UTF-8"?>
<Total>
  <MouseOffLine><label>Mouse offline EN</label><Timeout>Timed out EN</Timeout><NewHong>OK EN</NewHong></MouseOffLine>
  <EXEIsRun><label>Already running EN</label><NewHong>Close EN</NewHong><label_2>Choose a macro EN</label_2></EXEIsRun>
  <InportFail><label>Unreadable EN</label><label_1>Other sensor EN</label_1><NewHong>OK EN</NewHong></InportFail>
  <ContainReset><label>Restore EN</label><OK>Yes EN</OK><Cancel>No EN</Cancel></ContainReset>
  <NewVer><NewHong>Fine EN</NewHong><label>never shown</label></NewVer>
  <ButtonOnly><Other>no label here</Other></ButtonOnly>
  <Progress><Confirm>Go on EN</Confirm><UpdateNotMove>Updating EN</UpdateNotMove><UpDateFail>Failed EN</UpDateFail><UpDateSuccess>Done EN</UpDateSuccess></Progress>
</Total>)";

// Index 5: a second language; its Progress section lacks both outcome texts.
const QByteArray Japanese = R"(<?xml version="1.0" encoding="UTF-8"?>
<Total>
  <MouseOffLine><label>JA offline</label><Timeout>JA timed out</Timeout></MouseOffLine>
  <ContainReset><label>JA restore</label></ContainReset>
  <NewVer><NewHong>JA fine</NewHong></NewVer>
  <Progress><UpdateNotMove>JA updating</UpdateNotMove></Progress>
</Total>)";

const QByteArray Catalogue = "[Option]\nLabelColor=10,20,30\nButtonColor=40,50,60\n";

using Factory = std::function<QDialog*()>;
template <typename T>
Factory make()
{
    return [] { return new T; };
}

// Runs `dialog` modally; `action` runs once it is shown and active. Returns whether the dialog
// was still open right after the action (it is then closed with Escape).
bool runWith(QDialog& dialog, const std::function<void()>& action)
{
    return runModal(dialog, action, [](QDialog& open) { QTest::keyClick(&open, Qt::Key_Escape); });
}

QString labelText(QWidget* dialog)
{
    return dialog->findChild<QLabel*>("label")->text();
}

QToolButton* buttonOf(QWidget* dialog, const char* name)
{
    return dialog->findChild<QToolButton*>(name);
}
}  // namespace

// Object name -> geometry inside the dialog.
using Geometry = QMap<QString, QRect>;

Q_DECLARE_METATYPE(Factory)
Q_DECLARE_METATYPE(Geometry)

class NoticeDialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;

private slots:
    void init()
    {
        env.reset(new TestEnv);
        env->writeProgramFile("Language/0-English.xml", English);
        env->writeProgramFile("Language/5-Japanese.xml", Japanese);
        env->writeProgramFile("usersetting/Config.ini", Catalogue);
        const QString pictures = env->programDir() + "/Picture/WarningDialog/";
        QDir().mkpath(pictures);
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::darkGray);
        for (const char* name : {"BackGround", "Close", "CloseHover", "CloseClick", "Confirm", "ConfirmClick"})
            QVERIFY(image.save(pictures + name + ".png"));
        UserConfig::reload();
        MacroSetting::reload();
        OfflineTextIndex = 0;
        ImportResult = 0;
        ManualUpdateActive = 0;
    }
    void cleanup() { env.reset(); }

    void frameAndButtons_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("buttons");
        const QStringList confirm{"CloseButton", "NewHong"};
        const QStringList closeOnly{"CloseButton"};
        const QStringList twoButtons{"CloseButton", "OK", "Cancel"};
        QTest::newRow("MouseOffLine") << make<MouseOffLine>() << "MouseOffLineA" << confirm;
        QTest::newRow("ExeIsRun") << make<ExeIsRun>() << "DeleteConfirmA" << confirm;
        QTest::newRow("InportFail") << make<InportFail>() << "InportFailA" << confirm;
        QTest::newRow("QuestiondialogB") << make<QuestiondialogB>() << "QuestionB" << closeOnly;
        QTest::newRow("ContainReset") << make<ContainReset>() << "ContainResetA" << twoButtons;
        QTest::newRow("RePair") << make<RePair>() << "RePairA" << twoButtons;
        QTest::newRow("DeleteConfirm") << make<DeleteConfirm>() << "DeleteConfirmA" << confirm;
        QTest::newRow("UpDateWarning") << make<UpDateWarning>() << "WarningFrame" << confirm;
        QTest::newRow("LeftButtonOnly") << make<LeftButtonOnly>() << "ButtonOnly" << closeOnly;
        QTest::newRow("MakeMacro") << make<MakeMacro>() << "MakeMacroA" << confirm;
        QTest::newRow("SameMacro") << make<SameMacro>() << "SameMacroA" << confirm;
        QTest::newRow("GroupMaxThree") << make<GroupMaxThree>() << "MaxThree" << confirm;
        QTest::newRow("KeyNumberLimit") << make<KeyNumberLimit>() << "LimitA" << confirm;
        QTest::newRow("LessThree") << make<LessThree>() << "LessThreeframe" << confirm;
        QTest::newRow("Progress") << make<Progress>() << "AddDelayTimeA" << confirm;
    }
    void frameAndButtons()
    {
        QFETCH(Factory, factory);
        QFETCH(QString, frame);
        QFETCH(QStringList, buttons);
        std::unique_ptr<QDialog> dialog(factory());
        QCOMPARE(dialog->size(), QSize(300, 140));
        QVERIFY(dialog->findChild<QFrame*>(frame));
        QStringList found;
        for (QToolButton* button : dialog->findChildren<QToolButton*>())
            found << button->objectName();
        found.sort();
        buttons.sort();
        QCOMPARE(found, buttons);
#ifdef Q_OS_WIN
        QCOMPARE(int(dialog->windowFlags()) & ~int(Qt::Window), 0x6C12);  // a parentless widget is a window
#else
        QCOMPARE(dialog->windowFlags(), Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
                                            | Qt::WindowMinimizeButtonHint);
#endif
        // Escape closes every dialog of the family.
        runWith(*dialog, [] {});
        QVERIFY(!dialog->isVisible());
    }

    void geometryOfEveryDialog_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<Geometry>("widgets");
        QTest::addColumn<int>("labelPoints");
        const QRect close(275, 5, 20, 20);
        const QRect confirm(100, 110, 90, 24);
        auto frame = [](const char* name) { return Geometry{{name, QRect(0, 0, 300, 140)}}; };
        auto with = [](Geometry g, const Geometry& more) {
            for (auto it = more.begin(); it != more.end(); ++it)
                g.insert(it.key(), it.value());
            return g;
        };
        QTest::newRow("MouseOffLine")
            << make<MouseOffLine>()
            << with(frame("MouseOffLineA"), {{"CloseButton", QRect(275, 3, 20, 20)},
                                              {"label", QRect(0, 20, 301, 71)},
                                              {"NewHong", QRect(100, 100, 90, 24)}})
            << 11;
        QTest::newRow("ExeIsRun") << make<ExeIsRun>()
                                  << with(frame("DeleteConfirmA"),
                                          {{"CloseButton", close}, {"label", QRect(0, 30, 301, 71)}, {"NewHong", confirm}})
                                  << 11;
        QTest::newRow("InportFail") << make<InportFail>()
                                    << with(frame("InportFailA"),
                                            {{"CloseButton", close}, {"label", QRect(0, 30, 301, 71)}, {"NewHong", confirm}})
                                    << 11;
        QTest::newRow("QuestiondialogB")
            << make<QuestiondialogB>()
            << with(frame("QuestionB"), {{"CloseButton", close}, {"label", QRect(0, 30, 301, 60)}}) << 11;
        QTest::newRow("ContainReset") << make<ContainReset>()
                                      << with(frame("ContainResetA"), {{"CloseButton", close},
                                                                       {"label", QRect(10, 30, 281, 71)},
                                                                       {"OK", QRect(40, 110, 90, 24)},
                                                                       {"Cancel", QRect(170, 110, 90, 24)}})
                                      << 11;
        QTest::newRow("RePair") << make<RePair>()
                                << with(frame("RePairA"), {{"CloseButton", close},
                                                           {"label", QRect(0, 30, 301, 71)},
                                                           {"OK", QRect(40, 110, 90, 24)},
                                                           {"Cancel", QRect(180, 110, 90, 24)}})
                                << 11;
        QTest::newRow("DeleteConfirm") << make<DeleteConfirm>()
                                       << with(frame("DeleteConfirmA"),
                                               {{"CloseButton", close}, {"label", QRect(5, 30, 291, 71)}, {"NewHong", confirm}})
                                       << 11;
        QTest::newRow("UpDateWarning") << make<UpDateWarning>()
                                       << with(frame("WarningFrame"),
                                               {{"CloseButton", close}, {"label", QRect(5, 30, 291, 71)}, {"NewHong", confirm}})
                                       << 11;
        QTest::newRow("LeftButtonOnly")
            << make<LeftButtonOnly>()
            << with(frame("ButtonOnly"), {{"CloseButton", close}, {"label", QRect(0, 19, 301, 91)}}) << 11;
        QTest::newRow("MakeMacro") << make<MakeMacro>()
                                   << with(frame("MakeMacroA"),
                                           {{"CloseButton", close}, {"label", QRect(6, 29, 291, 71)}, {"NewHong", confirm}})
                                   << 11;
        QTest::newRow("SameMacro") << make<SameMacro>()
                                   << with(frame("SameMacroA"),
                                           {{"CloseButton", close}, {"label", QRect(0, 30, 301, 71)}, {"NewHong", confirm}})
                                   << 11;
        QTest::newRow("GroupMaxThree") << make<GroupMaxThree>()
                                       << with(frame("MaxThree"), {{"CloseButton", close},
                                                                   {"label", QRect(0, 30, 301, 71)},
                                                                   {"NewHong", QRect(105, 110, 90, 24)}})
                                       << 11;
        QTest::newRow("KeyNumberLimit") << make<KeyNumberLimit>()
                                        << with(frame("LimitA"),
                                                {{"CloseButton", close}, {"label", QRect(0, 30, 301, 71)}, {"NewHong", confirm}})
                                        << 11;
        QTest::newRow("LessThree") << make<LessThree>()
                                   << with(frame("LessThreeframe"),
                                           {{"CloseButton", close}, {"label", QRect(12, 30, 281, 81)}, {"NewHong", confirm}})
                                   << 8;
        QTest::newRow("Progress") << make<Progress>()
                                  << with(frame("AddDelayTimeA"), {{"CloseButton", close},
                                                                   {"label", QRect(10, 15, 281, 51)},
                                                                   {"NewHong", QRect(110, 110, 90, 24)},
                                                                   {"progressBar_2", QRect(30, 70, 241, 26)}})
                                  << 11;
    }
    void geometryOfEveryDialog()
    {
        QFETCH(Factory, factory);
        QFETCH(Geometry, widgets);
        QFETCH(int, labelPoints);
        std::unique_ptr<QDialog> dialog(factory());
        QCOMPARE(dialog->size(), QSize(300, 140));
        QCOMPARE(dialog->minimumSize(), QSize(300, 140));
        QCOMPARE(dialog->maximumSize(), QSize(300, 140));
        for (auto it = widgets.begin(); it != widgets.end(); ++it) {
            QWidget* widget = dialog->findChild<QWidget*>(it.key());
            QVERIFY2(widget, qPrintable(it.key()));
            QVERIFY2(widget->geometry() == it.value(), qPrintable(it.key()));
        }
        QLabel* label = dialog->findChild<QLabel*>("label");
        QCOMPARE(label->font().family(), QString::fromUtf8("微软雅黑"));
        QCOMPARE(label->font().pointSize(), labelPoints);
        QVERIFY(label->wordWrap());
        // The form's geometry stays, but a wrapped line keeps clear of the dialog's sides.
        const QRect textArea(label->mapTo(dialog.get(), label->contentsRect().topLeft()), label->contentsRect().size());
        QVERIFY2(textArea.left() >= 12 && textArea.right() <= dialog->width() - 13,
                 qPrintable(QStringLiteral("text from x %1 to %2").arg(textArea.left()).arg(textArea.right())));
        QToolButton* close = buttonOf(dialog.get(), "CloseButton");
        QCOMPARE(close->iconSize(), QSize(30, 30));
        QCOMPARE(close->text(), QString());
        for (QToolButton* button : dialog->findChildren<QToolButton*>()) {
            if (button == close)
                continue;
            QCOMPARE(button->font().pointSize(), 11);
            QVERIFY(button->autoRaise());
        }
    }

    void buttonsSetAccepted_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("press");
        QTest::addColumn<bool>("accepted");
        for (const char* name : {"ContainReset", "RePair"}) {
            QTest::addRow("%s OK", name) << name << "OK" << true;
            QTest::addRow("%s Cancel", name) << name << "Cancel" << false;
            QTest::addRow("%s close", name) << name << "CloseButton" << false;
            QTest::addRow("%s Escape", name) << name << "Escape" << false;
        }
        QTest::newRow("DeleteConfirm NewHong") << "DeleteConfirm" << "NewHong" << true;
        QTest::newRow("DeleteConfirm close") << "DeleteConfirm" << "CloseButton" << false;
        QTest::newRow("DeleteConfirm Escape") << "DeleteConfirm" << "Escape" << false;
    }
    void buttonsSetAccepted()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, press);
        QFETCH(bool, accepted);
        ContainReset reset;
        RePair repair;
        DeleteConfirm remove;
        QDialog* target = dialog == "ContainReset" ? static_cast<QDialog*>(&reset)
                          : dialog == "RePair"     ? static_cast<QDialog*>(&repair)
                                                   : static_cast<QDialog*>(&remove);
        // A button's answer wins over an earlier one: start from the opposite value.
        reset.Accepted = repair.Accepted = remove.Accepted = !accepted && press != "Escape";
        const bool open = runWith(*target, [&] {
            if (press == "Escape")
                QTest::keyClick(target, Qt::Key_Escape);
            else
                buttonOf(target, press.toLatin1())->click();
        });
        QVERIFY(!open);
        const bool result = dialog == "ContainReset" ? reset.Accepted : dialog == "RePair" ? repair.Accepted : remove.Accepted;
        QCOMPARE(result, accepted);
    }

    void returnConfirmsOnlyWhereWanted_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<bool>("closes");
        QTest::newRow("ContainReset") << make<ContainReset>() << true;
        QTest::newRow("ContainReset after a language change") << Factory([] {
            auto* reset = new ContainReset;
            PostMsg::instance()->SendChangeLanguage(0);
            return reset;
        }) << true;
        QTest::newRow("UpDateWarning") << make<UpDateWarning>() << true;
        QTest::newRow("LessThree") << make<LessThree>() << true;
        QTest::newRow("RePair") << make<RePair>() << false;
        QTest::newRow("DeleteConfirm") << make<DeleteConfirm>() << false;
        QTest::newRow("MakeMacro") << make<MakeMacro>() << false;
        QTest::newRow("ExeIsRun") << make<ExeIsRun>() << false;
    }
    void returnConfirmsOnlyWhereWanted()
    {
        QFETCH(Factory, factory);
        QFETCH(bool, closes);
        std::unique_ptr<QDialog> dialog(factory());
        const bool open = runWith(*dialog, [&] {
            QTest::keyClick(dialog.get(), Qt::Key_Return);
            // A shortcut clicks its button with a short animation.
            QTest::qWait(300);
        });
        QCOMPARE(!open, closes);
        if (auto* reset = qobject_cast<ContainReset*>(dialog.get()))
            QVERIFY(reset->Accepted);
        if (auto* repair = qobject_cast<RePair*>(dialog.get()))
            QVERIFY(!repair->Accepted);
    }

    void offlineNoticeText_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("normal") << 0 << "Mouse offline EN";
        QTest::newRow("time-out") << 1 << "Timed out EN";
        QTest::newRow("other value keeps the form text") << 2 << "   The mouse is offline. Please move first";
    }
    void offlineNoticeText()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        OfflineTextIndex = which;
        MouseOffLine notice;
        QCOMPARE(labelText(&notice), text);
        QCOMPARE(buttonOf(&notice, "NewHong")->text(), QStringLiteral("OK EN"));
    }

    void offlineNoticeKeepsItsTextChoiceOnLanguageChange_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("normal") << 0 << "Mouse offline EN" << "JA offline";
        QTest::newRow("time-out") << 1 << "Timed out EN" << "JA timed out";
    }
    void offlineNoticeKeepsItsTextChoiceOnLanguageChange()
    {
        QFETCH(int, which);
        QFETCH(QString, before);
        QFETCH(QString, after);
        OfflineTextIndex = which;
        MouseOffLine notice;
        QString shown;
        QString shownAfter;
        runWith(notice, [&] {
            shown = labelText(&notice);
            PostMsg::instance()->SendChangeLanguage(5);
            shownAfter = labelText(&notice);
        });
        QCOMPARE(shown, before);
        QCOMPARE(shownAfter, after);
    }

    void importFailureText_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("unreadable") << 1 << "Unreadable EN";
        QTest::newRow("other sensor") << 2 << "Other sensor EN";
        QTest::newRow("other value keeps the form text") << 0 << "Config does not match the device";
    }
    void importFailureText()
    {
        QFETCH(int, result);
        QFETCH(QString, text);
        ImportResult = result;
        InportFail notice;
        QCOMPARE(labelText(&notice), text);
    }

    void runningNoticeStoredTexts()
    {
        ExeIsRun notice;
        QCOMPARE(labelText(&notice), QStringLiteral("Already running EN"));
        notice.SetLabel2Text();
        QCOMPARE(labelText(&notice), QStringLiteral("Choose a macro EN"));
        notice.SetPleaseStopText();  // not in the file
        QCOMPARE(labelText(&notice), QString());
    }

    void missingElementKeepsFormText()
    {
        LeftButtonOnly notice;
        QCOMPARE(labelText(&notice), QStringLiteral("Left button must be retained"));
        // No language file at all: every form text stays.
        QFile::remove(env->programDir() + "/Language/0-English.xml");
        ContainReset reset;
        QCOMPARE(labelText(&reset), QStringLiteral(" Is need to restore the default settings"));
        QCOMPARE(buttonOf(&reset, "Cancel")->text(), QString::fromUtf8("取消"));
    }

    void languageChangeRereadsSection()
    {
        ContainReset reset;
        UpDateWarning warning;
        QCOMPARE(buttonOf(&reset, "OK")->text(), QStringLiteral("Yes EN"));
        reset.setText("caller's text");
        warning.SetText("caller's warning");
        QCOMPARE(labelText(&reset), QStringLiteral("caller's text"));
        PostMsg::instance()->SendChangeLanguage(5);
        QCOMPARE(labelText(&reset), QStringLiteral("JA restore"));
        // Texts the new language lacks keep the previous language's.
        QCOMPARE(buttonOf(&reset, "OK")->text(), QStringLiteral("Yes EN"));
        QCOMPARE(labelText(&warning), QStringLiteral("caller's warning"));
        QCOMPARE(buttonOf(&warning, "NewHong")->text(), QStringLiteral("JA fine"));
    }

    void keptWarningShowsEachNewText()
    {
        // The settings page keeps one warning and shows it without a nested event loop.
        UpDateWarning warning;
        for (const QString& text : {QStringLiteral("first warning"), QStringLiteral("second warning")}) {
            warning.SetText(text);
            warning.setModal(true);
            warning.show();
            QVERIFY(QTest::qWaitForWindowExposed(&warning));
            QCOMPARE(labelText(&warning), text);
            buttonOf(&warning, "NewHong")->click();
            QVERIFY(!warning.isVisible());
        }
    }

    void startsInStoredLanguage()
    {
        MacroSetting::instance()->setValue("Language", "Language", "5");
        ContainReset reset;
        QCOMPARE(labelText(&reset), QStringLiteral("JA restore"));
    }

    void skinColoursReachTheWidgets()
    {
        MakeMacro notice;
        notice.ensurePolished();
        QLabel* label = notice.findChild<QLabel*>("label");
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(10, 20, 30));
        QToolButton* confirm = buttonOf(&notice, "NewHong");
        confirm->ensurePolished();
        QCOMPARE(confirm->palette().color(QPalette::ButtonText), QColor(40, 50, 60));
        QVERIFY(confirm->styleSheet().contains(env->programDir() + "/Picture/WarningDialog/Confirm.png"));
    }

    void twoOfflineNoticesCloseTogether()
    {
        MouseOffLine first;
        MouseOffLine second;
        bool firstReturned = false;
        bool secondReturned = false;
        QTimer::singleShot(0, &first, [&] {
            QTimer::singleShot(0, &second, [&] { PostMsg::instance()->SendCloseOffOnline(); });
            second.exec();
            secondReturned = true;
        });
        QTimer failSafe;
        failSafe.setSingleShot(true);
        connect(&failSafe, &QTimer::timeout, [&] { first.done(0); second.done(0); });
        failSafe.start(5000);
        first.exec();
        firstReturned = true;
        QVERIFY(failSafe.isActive());
        QVERIFY(firstReturned && secondReturned);
        QVERIFY(!first.isVisible() && !second.isVisible());
        // With no notice open the signal does nothing.
        PostMsg::instance()->SendCloseOffOnline();
    }

    void progressRunAndFailure()
    {
        Progress progress;
        auto* bar = progress.findChild<QProgressBar*>("progressBar_2");
        QToolButton* confirm = buttonOf(&progress, "NewHong");
        QCOMPARE(labelText(&progress), QStringLiteral("Updating EN: 0%"));
        QCOMPARE(confirm->text(), QStringLiteral("Go on EN"));
        progress.show();
        PostMsg::instance()->SendProgress(0, 3);
        QVERIFY(confirm->isHidden());
        PostMsg::instance()->SendProgress(37, 0);
        QCOMPARE(labelText(&progress), QStringLiteral("Updating EN: 37%"));
        QCOMPARE(bar->value(), 37);
        PostMsg::instance()->SendProgress(0, 1);
        QCOMPARE(labelText(&progress), QStringLiteral("Failed EN"));
        QCOMPARE(bar->value(), 37);  // how far it came, not 0 %
        QVERIFY(!confirm->isHidden());

        bool openWhenSent = false;
        QSignalSpy cont(PostMsg::instance(), &PostMsg::SigContinue);
        auto link = connect(PostMsg::instance(), &PostMsg::SigChangeMainDialog, this,
                            [&](int index) { openWhenSent = progress.isVisible() && index == 0; });
        confirm->click();
        disconnect(link);
        QVERIFY(openWhenSent);
        QVERIFY(!progress.isVisible());
        QCOMPARE(cont.count(), 0);
    }

    void progressSuccessContinues()
    {
        Progress progress;
        auto* bar = progress.findChild<QProgressBar*>("progressBar_2");
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progress));
        PostMsg::instance()->SendProgress(0, 3);
        PostMsg::instance()->SendProgress(64, 2);
        QCOMPARE(labelText(&progress), QStringLiteral("Done EN"));
        QCOMPARE(bar->value(), 100);

        bool closedAndResetWhenSent = false;
        QSignalSpy back(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
        auto link = connect(PostMsg::instance(), &PostMsg::SigContinue, this, [&](int index) {
            closedAndResetWhenSent = !progress.isVisible() && bar->value() == 0 && index == 0 &&
                                     labelText(&progress) == QStringLiteral("Updating EN: 0%");
        });
        // Return clicks the confirm button once an outcome is shown.
        progress.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&progress));
        QTest::keyClick(&progress, Qt::Key_Return);
        QTRY_VERIFY(closedAndResetWhenSent);
        disconnect(link);
        QCOMPARE(back.count(), 0);

        // The next upgrade: until an outcome shows, Return does nothing.
        QSignalSpy cont(PostMsg::instance(), &PostMsg::SigContinue);
        progress.show();
        PostMsg::instance()->SendProgress(0, 3);
        progress.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&progress));
        QTest::keyClick(&progress, Qt::Key_Return);
        QTest::qWait(300);
        QVERIFY(progress.isVisible());
        QCOMPARE(cont.count(), 0);
    }

    void progressSuccessWithoutOutcomeTexts()
    {
        // Both outcome texts missing: a success must still go on, not be taken for a failure.
        MacroSetting::instance()->setValue("Language", "Language", "5");
        Progress progress;
        QCOMPARE(progress.FailText, QString());
        QCOMPARE(progress.SuccessText, QString());
        QCOMPARE(labelText(&progress), QStringLiteral("JA updating: 0%"));
        progress.show();
        PostMsg::instance()->SendProgress(0, 3);
        PostMsg::instance()->SendProgress(0, 2);
        QSignalSpy cont(PostMsg::instance(), &PostMsg::SigContinue);
        QSignalSpy back(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
        buttonOf(&progress, "NewHong")->click();
        QCOMPARE(cont.count(), 1);
        QCOMPARE(back.count(), 0);
    }

    void progressHeldWhileManualUpdate()
    {
        Progress progress;
        progress.show();
        PostMsg::instance()->SendProgress(50, 0);
        ManualUpdateActive = 1;
        PostMsg::instance()->SendCloseProgress();
        buttonOf(&progress, "CloseButton")->click();
        QVERIFY(progress.isVisible());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&progress, &escape);
        QVERIFY(progress.isVisible());
        PostMsg::instance()->SendProgress(0, 2);
        QSignalSpy cont(PostMsg::instance(), &PostMsg::SigContinue);
        buttonOf(&progress, "NewHong")->click();
        QVERIFY(!progress.isVisible());
        QCOMPARE(cont.count(), 1);

        ManualUpdateActive = 0;
        progress.show();
        PostMsg::instance()->SendProgress(30, 0);
        PostMsg::instance()->SendCloseProgress();
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.findChild<QProgressBar*>("progressBar_2")->value(), 0);
        QCOMPARE(labelText(&progress), QStringLiteral("Updating EN: 0%"));
    }

    // Whatever brought the dialog to where it is, its text names the figure its bar shows.
    void progressTextShowsTheBarsFigure()
    {
        Progress progress;
        auto* bar = progress.findChild<QProgressBar*>("progressBar_2");
        const auto figureShown = [&] { return labelText(&progress).section(QLatin1Char(' '), -1); };
        const auto barsFigure = [&] { return QString::number(bar->value()) + QLatin1Char('%'); };
        QCOMPARE(figureShown(), barsFigure());  // as built

        progress.show();
        PostMsg::instance()->SendProgress(0, 3);
        PostMsg::instance()->SendProgress(37, 0);
        QCOMPARE(figureShown(), barsFigure());
        // A language change halfway keeps the figure.
        PostMsg::instance()->SendChangeLanguage(5);
        QCOMPARE(labelText(&progress), QStringLiteral("JA updating: 37%"));
        QCOMPARE(bar->value(), 37);

        // The next update after a failure starts at 0 in text and bar, not on the failure's text.
        PostMsg::instance()->SendProgress(0, 1);
        buttonOf(&progress, "NewHong")->click();
        progress.show();
        PostMsg::instance()->SendProgress(0, 3);
        QCOMPARE(labelText(&progress), QStringLiteral("JA updating: 0%"));
        QCOMPARE(bar->value(), 0);
    }

    void progressLanguageChangeWhileHidden()
    {
        Progress progress;
        PostMsg::instance()->SendChangeLanguage(5);
        PostMsg::instance()->SendProgress(10, 0);
        QCOMPARE(labelText(&progress), QStringLiteral("JA updating: 10%"));
    }

    // The button row's divider is drawn only where there is a button row, just above it.
    void dividerOnlyAboveAButtonRow()
    {
        TestEnv env;
        LeftButtonOnly noButtons;
        QVERIFY(!noButtons.findChild<QFrame*>(QStringLiteral("ButtonDivider")));
        ContainReset twoButtons;
        auto* divider = twoButtons.findChild<QFrame*>(QStringLiteral("ButtonDivider"));
        QVERIFY(divider);
        QVERIFY(divider->geometry().bottom() < twoButtons.findChild<QToolButton*>(QStringLiteral("OK"))->y());
    }
};

QTEST_MAIN(NoticeDialogsTest)
#include "tst_notice_dialogs.moc"
