// The rapid-fire and delay dialogs: values kept in range, typed values, cancel, texts.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/FireKey.h"
#include "support/RunModal.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

void click(QDialog& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QToolButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Replaces the spin box's text with `text` as the user would type it.
void type(QSpinBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace

class ValueDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
    }
    void cleanupTestCase() { m_env.reset(); }

    void fireKeyKeepsPresets()
    {
        FireKey dialog;
        dialog.setTime(10);
        dialog.setCount(3);
        runModal(dialog, [&] { click(dialog, "NewHong"); });
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.FireTime, 10);
        QCOMPARE(dialog.FireCount, 3);
    }

    void fireKeyKeepsValuesInRange()
    {
        FireKey dialog;
        dialog.setTime(300);
        dialog.setCount(-1);
        auto* time = dialog.findChild<QSpinBox*>("Time");
        auto* count = dialog.findChild<QSpinBox*>("Count");
        QCOMPARE(time->text(), QStringLiteral("255"));
        QCOMPARE(count->text(), QStringLiteral("0"));
        runModal(dialog, [&] { click(dialog, "NewHong"); });
        QCOMPARE(dialog.FireTime, 255);
        QCOMPARE(dialog.FireCount, 0);
    }

    // A value left half-typed falls back to the last valid one, as the field then shows.
    void unfinishedValueFallsBack()
    {
        FireKey dialog;
        dialog.setTime(10);
        auto* time = dialog.findChild<QSpinBox*>("Time");
        runModal(dialog, [&] {
            type(time, "5");
            QCOMPARE(time->text(), QStringLiteral("5"));
            click(dialog, "NewHong");
        });
        QCOMPARE(dialog.FireTime, 10);
        QCOMPARE(time->text(), QStringLiteral("10"));

        AddDelayTime delay;
        auto* box = delay.findChild<QSpinBox*>("spinBox");
        runModal(delay, [&] {
            type(box, "120");
            QTest::keyClick(box, Qt::Key_Return);  // Return confirms
        });
        QTRY_VERIFY(delay.Accepted);
        QCOMPARE(delay.DelayValue, 120);
    }

    // A number typed past the limit becomes the limit; the keystroke that crosses it is not lost.
    void delayStaysInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("above the limit") << "70000" << 65535;
        QTest::newRow("far above") << "12345678901234567890" << 65535;
        QTest::newRow("the limit") << "65535" << 65535;
        QTest::newRow("leading zeros are no digits") << "000120" << 120;
    }

    void delayStaysInRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        AddDelayTime dialog;
        auto* box = dialog.findChild<QSpinBox*>("spinBox");
        runModal(dialog, [&] {
            type(box, typed);
            QCOMPARE(box->value(), value);
            click(dialog, "NewHong");
        });
        QVERIFY(dialog.Accepted);
        QCOMPARE(dialog.DelayValue, value);

        AddDelayTime untouched;
        runModal(untouched, [&] { click(untouched, "NewHong"); });
        QCOMPARE(untouched.DelayValue, 10);
    }

    void cancelCloseAndEscapeAcceptNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "NewHong_2";
        QTest::newRow("close") << "CloseButton";
        QTest::newRow("escape") << "";
    }

    void cancelCloseAndEscapeAcceptNothing()
    {
        QFETCH(QString, how);
        const auto end = [&](QDialog& dialog) {
            if (how.isEmpty())
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                click(dialog, how.toLatin1().constData());
        };
        FireKey fire;
        runModal(fire, [&] {
            type(fire.findChild<QSpinBox*>("Count"), "1");
            end(fire);
            QVERIFY(!fire.isVisible());
        });
        QVERIFY(!fire.Accepted);
        AddDelayTime delay;
        runModal(delay, [&] {
            end(delay);
            QVERIFY(!delay.isVisible());
        });
        QVERIFY(!delay.Accepted);
        QCOMPARE(delay.DelayValue, 0);
    }

    // Texts from the shipped language files, and a language change while a dialog is open.
    void textsFollowTheLanguage()
    {
        FireKey fire;
        QCOMPARE(fire.findChild<QLabel*>("label_2")->text(), QStringLiteral("Interval (10-255)"));
        QCOMPARE(fire.findChild<QToolButton*>("NewHong_2")->text(), QStringLiteral("Cancel"));
        AddDelayTime delay;
        runModal(delay, [&] {
            emit PostMsg::instance()->SigChangeLanguage(5);
            QCOMPARE(delay.findChild<QToolButton*>("NewHong_2")->text(), QStringLiteral("キャンセル"));
            QCOMPARE(fire.findChild<QLabel*>("label_3")->text().left(3), QStringLiteral("回数が"));
        });
    }
};

QTEST_MAIN(ValueDialogsTest)
#include "tst_value_dialogs.moc"
