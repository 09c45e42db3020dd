// The dialogs that catch keys (key combination, single key) and the macro name dialog, driven
// through their windows as the keyboard reaches them.
#include "common/PostMsg.h"
#include "pages/macro/GroupKey.h"
#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyHook.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/addKey.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"
#include "support/RunModal.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(keys::Key)

namespace {

void click(QDialog& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QToolButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

QString field(QDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->text();
}

// Pastes `text` into the dialog's field as the context menu does.
void paste(QDialog& dialog, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    dialog.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->paste();
}

const keys::Key Return{Qt::Key_Return, QStringLiteral("\r"), 36, 0xFF0D};
const keys::Key Escape{Qt::Key_Escape, QStringLiteral("\x1b"), 9, 0xFF1B};
const keys::Key F1{Qt::Key_F1, QString(), 67, 0xFFBE};
const keys::Key F12{Qt::Key_F12, QString(), 96, 0xFFC9};
const keys::Key Space{Qt::Key_Space, QStringLiteral(" "), 65, 0x20};
const keys::Key Digit1{Qt::Key_1, QStringLiteral("1"), 10, '1'};
const keys::Key Keypad1{Qt::Key_1, QStringLiteral("1"), 87, 0xFFB1, Qt::KeypadModifier};
const keys::Key KeypadPlus{Qt::Key_Plus, QStringLiteral("+"), 86, 0xFFAB, Qt::KeypadModifier};
const keys::Key LeftShift{Qt::Key_Shift, QString(), 50, 0xFFE1};

}  // namespace

class KeyDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;
    qint64 m_now = 0;

    void tap(QDialog& dialog, const keys::Key& key, qint64 laterMs = 100)
    {
        m_now += laterMs;
        keys::tap(&dialog, key);
    }

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        setKeyClock([this] { return m_now; });
    }
    void cleanupTestCase()
    {
        setKeyClock({});
        m_env.reset();
    }

    void combinationWithBoxAndKeys()
    {
        GroupKey dialog;
        runModal(dialog, [&] {
            QTest::mouseClick(dialog.findChild<QCheckBox*>("Ctrl"), Qt::LeftButton);
            tap(dialog, keys::letter('Q'));
            tap(dialog, keys::letter('W'));
            QCOMPARE(field(dialog), QStringLiteral("Q+W"));
            click(dialog, "NewHong");
        });
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.KeyText, QStringLiteral("Ctrl+Q+W"));
        QVERIFY(!KeyHookC().installed());
    }

    // Which keys an entry keeps, shown as the field shows them after each key.
    void keySequences_data()
    {
        QTest::addColumn<QVector<keys::Key>>("presses");
        QTest::addColumn<QVector<int>>("delays");
        QTest::addColumn<QStringList>("shown");
        const auto L = keys::letter;
        QTest::newRow("fourth key starts anew") << QVector<keys::Key>{L('Q'), L('W'), L('E'), L('R')}
                                                << QVector<int>{0, 100, 100, 100}
                                                << QStringList{"Q", "Q+W", "Q+W+E", "R"};
        QTest::newRow("after the entry's time") << QVector<keys::Key>{L('Q'), L('W')} << QVector<int>{0, 2500}
                                                << QStringList{"Q", "W"};
        QTest::newRow("same key twice") << QVector<keys::Key>{L('Q'), L('Q')} << QVector<int>{0, 100}
                                        << QStringList{"Q", "Q"};
        QTest::newRow("F12 then F1") << QVector<keys::Key>{F12, F1} << QVector<int>{0, 100}
                                     << QStringList{"F12", "F12+F1"};
        QTest::newRow("Num1 then 1") << QVector<keys::Key>{Keypad1, Digit1} << QVector<int>{0, 100}
                                     << QStringList{"Num1", "Num1+1"};
        QTest::newRow("Return, Escape and F12 are keys")
            << QVector<keys::Key>{Return, Escape, F12} << QVector<int>{0, 100, 100}
            << QStringList{"Enter", "Enter+Esc", "Enter+Esc+F12"};
    }

    void keySequences()
    {
        QFETCH(QVector<keys::Key>, presses);
        QFETCH(QVector<int>, delays);
        QFETCH(QStringList, shown);
        GroupKey dialog;
        QStringList seen;
        const bool open = runModal(dialog, [&] {
            for (int i = 0; i < presses.size(); ++i) {
                tap(dialog, presses[i], delays[i]);
                seen << field(dialog);
            }
        });
        QCOMPARE(seen, shown);
        QVERIFY(open);  // Escape and F12 do not close it
    }

    void heldThirdKeyStays()
    {
        GroupKey dialog;
        runModal(dialog, [&] {
            tap(dialog, keys::letter('Q'));
            tap(dialog, keys::letter('W'));
            keys::press(&dialog, keys::letter('E'));
            keys::release(&dialog, keys::letter('E'), true);
            keys::press(&dialog, keys::letter('E'), true);
            keys::release(&dialog, keys::letter('E'));
            QCOMPARE(field(dialog), QStringLiteral("Q+W+E"));
        });
    }

    void keypadPlusIsOneKey()
    {
        GroupKey dialog;
        runModal(dialog, [&] {
            tap(dialog, KeypadPlus);
            tap(dialog, keys::letter('A'));
            tap(dialog, keys::letter('B'));
            click(dialog, "NewHong");
        });
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.KeyText, QStringLiteral("Num++A+B"));
    }

    void moreThanThreeIsRefused()
    {
        GroupKey dialog;
        ModalAnswerer answerer;
        answerer.on("GroupMaxThree", ModalAnswerer::clickButton("NewHong"));
        answerer.on("GroupKey", [](QWidget*) {});  // the dialog under test stays open
        const bool open = runModal(dialog, [&] {
            QTest::mouseClick(dialog.findChild<QCheckBox*>("Shift"), Qt::LeftButton);
            tap(dialog, keys::letter('Q'));
            tap(dialog, keys::letter('W'));
            tap(dialog, keys::letter('E'));
            click(dialog, "NewHong");
            QVERIFY(runQueuedWork());
            QVERIFY(answerer.handled().contains("GroupMaxThree"));
            QCOMPARE(field(dialog), QString());
            QVERIFY(KeyHookC().installed());
            QVERIFY(dialog.findChild<QCheckBox*>("Shift")->isChecked());
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            tap(dialog, keys::letter('A'));
            QCOMPARE(field(dialog), QStringLiteral("A"));
        });
        QVERIFY(open);
        QVERIFY(!dialog.Accepted);
    }

    void confirmWithBoxesOrNothing()
    {
        GroupKey empty;
        runModal(empty, [&] { click(empty, "NewHong"); });
        QVERIFY(empty.Accepted);
        QCOMPARE(empty.KeyText, QString());

        GroupKey boxes;
        runModal(boxes, [&] {
            QTest::mouseClick(boxes.findChild<QCheckBox*>("Alt"), Qt::LeftButton);
            QTest::mouseClick(boxes.findChild<QCheckBox*>("Shift"), Qt::LeftButton);
            click(boxes, "NewHong");
        });
        QCOMPARE(boxes.KeyText, QStringLiteral("Shift+Alt"));
    }

    // Pasted text keeps the parts that name keys, in their own spelling.
    void pastedText()
    {
        GroupKey dialog;
        runModal(dialog, [&] {
            paste(dialog, QStringLiteral("ctrl+a+xyz"));
            QCOMPARE(field(dialog), QStringLiteral("Ctrl+A"));
            click(dialog, "NewHong");
        });
        QCOMPARE(dialog.KeyText, QStringLiteral("Ctrl+A"));
    }

    // However the dialog ends, its hook is gone and a later key reaches nothing of it.
    void everyEndRemovesTheHook_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"NewHong", "NewHong_2", "CloseButton", "window close", "destroyed"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void everyEndRemovesTheHook()
    {
        QFETCH(QString, how);
        for (int kind = 0; kind < 2; ++kind) {
            QPointer<QDialog> dialog = kind == 0 ? static_cast<QDialog*>(new GroupKey) : new addKey;
            const auto installed = [kind] { return kind == 0 ? KeyHookC().installed() : KeyHookB().installed(); };
            QVERIFY(installed());
            if (how == "destroyed") {
                dialog->show();
                delete dialog;
            } else {
                runModal(*dialog, [&] {
                    if (how == "window close")
                        dialog->close();
                    else
                        click(*dialog, how.toLatin1().constData());
                    QVERIFY(!dialog->isVisible());
                });
                QVERIFY(!installed());
                delete dialog;
            }
            QVERIFY(!installed());
            // Another owner installs the hook again: the gone dialog's binding calls nothing.
            QWidget other;
            other.show();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            KeyHookB single;
            KeyHookC combination;
            single.install();
            combination.install();
            keys::tap(&other, keys::letter('A'));
            single.uninstall();
            combination.uninstall();
        }
    }

    void singleKey_data()
    {
        QTest::addColumn<QVector<keys::Key>>("presses");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << QVector<keys::Key>{keys::letter('A')} << "A";
        QTest::newRow("space has no name here") << QVector<keys::Key>{Space} << "";
        QTest::newRow("escape is a key") << QVector<keys::Key>{Escape} << "Esc";
    }

    void singleKey()
    {
        QFETCH(QVector<keys::Key>, presses);
        QFETCH(QString, name);
        addKey dialog;
        runModal(dialog, [&] {
            for (const keys::Key& key : presses)
                tap(dialog, key);
            QCOMPARE(field(dialog), name);
            QVERIFY(dialog.isVisible());
            click(dialog, "NewHong");
        });
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.KeyName, name);
    }

    // The latest key event wins: Shift released last.
    void singleKeyTakesTheLatestEvent()
    {
        addKey dialog;
        runModal(dialog, [&] {
            keys::press(&dialog, LeftShift);
            keys::Key a = keys::letter('A');
            a.modifiers = Qt::ShiftModifier;
            a.text = QStringLiteral("A");
            keys::tap(&dialog, a);
            keys::release(&dialog, LeftShift);
            click(dialog, "NewHong");
        });
        QCOMPARE(dialog.KeyName, QStringLiteral("LShift"));

        addKey untouched;
        runModal(untouched, [&] { click(untouched, "NewHong"); });
        QVERIFY(untouched.Accepted);
        QCOMPARE(untouched.KeyName, QString());
    }

    void nameFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("name");
        const QString cjk = QString::fromUtf8("宏");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("trailing blank") << "ab " << "" << "ab";
        QTest::newRow("31 letters") << QString(31, 'a') << "" << QString(30, 'a');
        QTest::newRow("11 CJK characters") << cjk.repeated(11) << "" << cjk.repeated(10);
        QTest::newRow("slash") << "a/b" << "" << "ab";
        QTest::newRow("backslash and tab") << "" << "a\\b\tc" << "abc";
        QTest::newRow("leading dot") << ".x" << "" << "x";
        QTest::newRow("pasted inner blank") << "" << "a b" << "a b";
        QTest::newRow("pasted trailing blank") << "" << "a b " << "ab";
        QTest::newRow("emoji at the cut") << "" << QString(28, 'a') + emoji << QString(28, 'a');
    }

    void nameFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, name);
        QuestionDialog dialog;
        runModal(dialog, [&] {
            auto* edit = dialog.findChild<QLineEdit*>("lineEdit");
            // Typed through the window, one character per key.
            for (const QChar c : typed)
                keys::tap(&dialog, keys::Key{Qt::Key_unknown, QString(c)});
            if (!pasted.isEmpty())
                paste(dialog, pasted);
            QCOMPARE(edit->text(), name);
            click(dialog, "NewHong");
        });
        QCOMPARE(dialog.MacroName, name);
    }

    void nameDialogCancelled_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"NewHong_2", "CloseButton", "escape", "empty confirm"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void nameDialogCancelled()
    {
        QFETCH(QString, how);
        QuestionDialog dialog;
        runModal(dialog, [&] {
            auto* edit = dialog.findChild<QLineEdit*>("lineEdit");
            if (how != "empty confirm")
                QTest::keyClicks(edit, "Fire");
            if (how == "escape")
                QTest::keyClick(edit, Qt::Key_Escape);
            else
                click(dialog, how == "empty confirm" ? "NewHong" : how.toLatin1().constData());
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(dialog.MacroName, QString());
    }

    void textsFollowTheLanguage()
    {
        GroupKey combination;
        addKey single;
        QuestionDialog name;
        QCOMPARE(name.findChild<QLabel*>("label")->text(), QStringLiteral("Please enter a name for the macro"));
        QCOMPARE(single.findChild<QToolButton*>("NewHong_2")->text(), QStringLiteral("Cancel"));
        emit PostMsg::instance()->SigChangeLanguage(5);
        QCOMPARE(combination.findChild<QLabel*>("label")->text(), QStringLiteral("キーを順に押してください"));
        QCOMPARE(name.findChild<QToolButton*>("NewHong_2")->text(), QStringLiteral("キャンセル"));
        emit PostMsg::instance()->SigChangeLanguage(0);
    }
};

QTEST_MAIN(KeyDialogsTest)
#include "tst_key_dialogs.moc"
