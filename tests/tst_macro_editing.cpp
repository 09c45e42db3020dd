// The Macro page with its key-entry dialogs answered as a user answers them: keys typed through
// the single-key dialog, delays and names entered, and the whole road from the configuration
// frame on a simulated mouse to the macro's file.
#include "MacroPageFixture.h"
#include "ShellTestSupport.h"
#include "support/HidSimScript.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"

#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "pages/macro/Macro.h"
#include "shell/Dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <utility>

using namespace macropage;
using namespace shelltest;

namespace {

// Answers of the key-entry dialogs.
ModalAnswerer::Handler typeKey(const keys::Key& key)
{
    return [key](QWidget* dialog) {
        dialog->activateWindow();
        // The keys are sent to the dialog's window whether or not it became active in time.
        (void)QTest::qWaitForWindowActive(dialog);
        keys::tap(dialog, key);
        dialog->findChild<QAbstractButton*>("NewHong")->click();
    };
}

ModalAnswerer::Handler enterDelay(int milliseconds)
{
    return [milliseconds](QWidget* dialog) {
        dialog->findChild<QSpinBox*>("spinBox")->setValue(milliseconds);
        dialog->findChild<QAbstractButton*>("NewHong")->click();
    };
}

ModalAnswerer::Handler enterName(const QString& name)
{
    return [name](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("lineEdit")->setText(name);
        dialog->findChild<QAbstractButton*>("NewHong")->click();
    };
}

// Hands each dialog of one class the next answer of the list (a modal driver keeps the first
// rule for a class).
ModalAnswerer::Handler inTurn(QList<ModalAnswerer::Handler> answers)
{
    auto queue = std::make_shared<QList<ModalAnswerer::Handler>>(std::move(answers));
    return [queue](QWidget* dialog) {
        if (queue->isEmpty())
            ModalAnswerer::reject()(dialog);
        else
            queue->takeFirst()(dialog);
    };
}

void choose(Macro& page, int item)
{
    QMetaObject::invokeMethod(page.findChild<QComboBox*>("ChooseEvent"), "activated", Q_ARG(int, item));
    QVERIFY(runQueuedWork());
}

}  // namespace

class MacroEditingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = makeEnv(); }
    void cleanup()
    {
        MacroRecording = 0;
        m_env.reset();
    }

    void keyAndDelayThroughTheirDialogs()
    {
        QVERIFY(writeMacro("Fire", "1\n"));
        Macro page;
        page.show();
        selectMacro(page, "Fire");
        ModalAnswerer answerer;
        answerer.on("addKey", typeKey(keys::letter('A')));
        choose(page, 1);
        choose(page, 2);
        QCOMPARE(answerer.handled(), (QStringList{"addKey", "addKey"}));
        QCOMPARE(textsOf(page.rows()), (QStringList{"10ms", "A", "10ms", "A^"}));

        // A delay needs an event row current; with one it replaces the delay before the key.
        auto* rows = page.findChild<QListWidget*>("listWidgetKey");
        rows->setCurrentRow(3);
        answerer.on("AddDelayTime", enterDelay(15));
        choose(page, 3);
        QCOMPARE(textsOf(page.rows()), (QStringList{"10ms", "A", "15ms", "A^"}));
        rows->setCurrentRow(-1);
        choose(page, 3);
        QCOMPARE(answerer.count(), 3);
    }

    void cancelledOrEmptyKeyChangesNothing()
    {
        QVERIFY(writeMacro("Fire", "1\n0x04 1 0\n"));
        Macro page;
        page.show();
        selectMacro(page, "Fire");
        ModalAnswerer answerer;
        // Cancelled, then confirmed before any key (accepted with an empty name) twice.
        answerer.on("addKey", inTurn({ModalAnswerer::clickButton("NewHong_2"), ModalAnswerer::clickButton("NewHong"),
                                      ModalAnswerer::clickButton("NewHong")}));
        choose(page, 1);
        choose(page, 1);
        page.findChild<QListWidget*>("listWidgetKey")->setCurrentRow(0);
        page.findChild<QToolButton*>("Amend")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.count(), 3);
        QCOMPARE(textsOf(page.rows()), QStringList{"A"});
        QVERIFY(!page.EventsChanged);
    }

    void amendKeepsTheRowType()
    {
        QVERIFY(writeMacro("Fire", "1\n0x04 1 0\n20ms\n0x04 1 1\n"));
        Macro page;
        page.show();
        selectMacro(page, "Fire");
        auto* rows = page.findChild<QListWidget*>("listWidgetKey");
        ModalAnswerer answerer;
        rows->setCurrentRow(2);
        answerer.on("addKey", typeKey(keys::letter('B')));
        page.findChild<QToolButton*>("Amend")->click();
        QVERIFY(runQueuedWork());
        rows->setCurrentRow(1);
        answerer.on("AddDelayTime", enterDelay(70));
        page.findChild<QToolButton*>("Amend")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(textsOf(page.rows()), (QStringList{"A", "70ms", "B^"}));
        QCOMPARE(rows->item(2)->type(), 1);
        QVERIFY(page.EventsChanged);
        QVERIFY(page.findChild<QToolButton*>("Save")->isEnabled());
    }

    void newMacro()
    {
        QVERIFY(writeMacro("Fire", "1\n"));
        Macro page;
        ModalAnswerer answerer;
        answerer.on("QuestionDialog", inTurn({enterName("Fire"), ModalAnswerer::clickButton("NewHong_2"), enterName("Burst")}));
        page.findChild<QToolButton*>("NewHong")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), (QStringList{"QuestionDialog", "SameMacro"}));
        page.findChild<QToolButton*>("NewHong")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(page.findChild<QListWidget*>("listWidgetHong")->count(), 1);

        page.findChild<QToolButton*>("NewHong")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(page.currentMacroName(), QString("Burst"));
        QCOMPARE(readAll(MacroFilePath(MacroFolder(), "Burst")), QByteArray());
        QVERIFY(page.rows().isEmpty());
        QVERIFY(page.findChild<QCheckBox*>("ReNumber")->isChecked());
        QCOMPARE(page.findChild<QSpinBox*>("NumberEdit")->value(), 1);
    }

    void renameMovesTheFile()
    {
        QVERIFY(writeMacro("Old", "5\n0x04 1 0\n"));
        QVERIFY(writeMacro("Other", "1\n"));
        Macro page;
        selectMacro(page, "Old");
        QSignalSpy renames(PostMsg::instance(), SIGNAL(SigMacroRename(QString, QString)));
        ModalAnswerer answerer;
        answerer.on("QuestionDialog", inTurn({enterName("Other"), enterName("New"), enterName("Blocked")}));
        QMetaObject::invokeMethod(&page, "RenameMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), (QStringList{"QuestionDialog", "SameMacro"}));

        QMetaObject::invokeMethod(&page, "RenameMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(page.currentMacroName(), QString("New"));
        QVERIFY(!QFileInfo::exists(MacroFilePath(MacroFolder(), "Old")));
        QCOMPARE(readAll(MacroFilePath(MacroFolder(), "New")), QByteArray("5\n0x04 1 0\n"));
        QCOMPARE(QList<QVariantList>(renames), (QList<QVariantList>{{"Old", "New"}}));

        // A name whose file place is taken (a folder, not listed) cannot be moved to.
        QVERIFY(QDir().mkpath(MacroFolder() + "/Blocked.ini"));
        QMetaObject::invokeMethod(&page, "RenameMacro");
        QVERIFY(runQueuedWork());
        QCOMPARE(page.currentMacroName(), QString("New"));
        QCOMPARE(renames.size(), 1);
    }

    // While the page records, the frame's page buttons are off; Stop brings them back.
    void recordingLocksTheFrame()
    {
        prepare(*m_env);
        QVERIFY(writeMacro("Fire", "1\n"));
        auto frame = std::make_unique<Dialog>();
        frame->show();
        QTest::mouseClick(frame->findChild<QAbstractButton*>("MacroButton"), Qt::LeftButton);
        auto* page = frame->findChild<Macro*>();
        selectMacro(*page, "Fire");
        const QStringList pageButtons{"ButtonMain", "SensorButton", "MacroButton", "LightsButton", "FormSetting"};
        page->findChild<QAbstractButton*>("StartRecord")->click();
        for (const QString& name : pageButtons)
            QVERIFY2(!frame->findChild<QAbstractButton*>(name)->isEnabled(), qPrintable(name));
        page->findChild<QAbstractButton*>("StopRecord")->click();
        for (const QString& name : pageButtons)
            QVERIFY2(frame->findChild<QAbstractButton*>(name)->isEnabled(), qPrintable(name));
    }

    // The program on a simulated mouse: the Macro page button, a new macro, a key typed into the
    // single-key dialog as press and release, a mouse button, a delay, Save.
    void endToEnd()
    {
        prepare(*m_env);
        const SimScript::Device mouse = SimScript::addCableMouse(1);
        DeviceAllInfo record;
        record.online = 1;
        record.cableFlag = 1;
        makeCurrent(mouse.path, record);
        auto frame = std::make_unique<Dialog>();
        frame->show();
        QTest::mouseClick(frame->findChild<QAbstractButton*>("MacroButton"), Qt::LeftButton);
        auto* page = frame->findChild<Macro*>();
        QCOMPARE(frame->findChild<QStackedWidget*>("stackedWidgetDialog")->currentWidget(), page);

        ModalAnswerer answerer;
        answerer.on("QuestionDialog", enterName("Fire"));
        page->findChild<QToolButton*>("NewHong")->click();
        QVERIFY(runQueuedWork());
        answerer.on("addKey", typeKey(keys::letter('A')));
        choose(*page, 1);
        choose(*page, 2);
        choose(*page, 4);  // left button
        page->findChild<QListWidget*>("listWidgetKey")->setCurrentRow(3);
        answerer.on("AddDelayTime", enterDelay(15));
        choose(*page, 3);
        page->findChild<QToolButton*>("Save")->click();
        QCOMPARE(answerer.handled(), (QStringList{"QuestionDialog", "addKey", "addKey", "AddDelayTime"}));
        const QByteArray expected = "1\n10ms\n0x04 1 0\n15ms\n0x04 1 1\n10ms\n0x01 4 0\n10ms\n0x01 4 1\n";
        QCOMPARE(readAll(MacroFilePath(MacroFolder(), "Fire")), expected);

        const MacroRows shown = page->rows();
        frame.reset();
        Macro again;
        selectMacro(again, "Fire");
        QCOMPARE(again.rows(), shown);
        UsbServer_Exit();
        ResetCurrentDevice();
    }

private:
    std::unique_ptr<TestEnv> m_env;
};

QTEST_MAIN(MacroEditingTest)
#include "tst_macro_editing.moc"
