// Qt's own texts follow the program's language, and installing Qt's translation leaves every
// window in the chosen language with its language box where the user put it.
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/Registry.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class QtTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void colourDialogAndWindowsFollowTheLanguage()
    {
        TestEnv env;
        env.stageShippedData();
        UserConfig::reload();
        MacroSetting::reload();
        Registry::setBaseFolder(env.home() + QStringLiteral("/registry"));
        ResetCurrentDevice();
        ChoiceDeviceList.clear();
        DialogMain window;
        SimScript::settle();
        auto* choice = window.findChild<DialogChange*>();
        QVERIFY(choice);
        auto* box = choice->findChild<QComboBox*>(QStringLiteral("comboBox"));
        QVERIFY(box);
        const QString englishTitle = choice->findChild<QLabel*>(QStringLiteral("label_3"))->text();

        // The user picks Japanese in the choice page's language box.
        box->setCurrentIndex(5);
        QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 5));
        QCOMPARE(box->currentIndex(), 5);
        const QString japaneseTitle = choice->findChild<QLabel*>(QStringLiteral("label_3"))->text();
        QVERIFY(!japaneseTitle.isEmpty());
        QVERIFY(japaneseTitle != englishTitle);

        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        const QString cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        QVERIFY2(cancel.contains(QStringLiteral("キャンセル")), qPrintable(cancel));

        // Back to English: Qt's texts too.
        QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 0));
        box->setCurrentIndex(0);
        QColorDialog english;
        english.setOption(QColorDialog::DontUseNativeDialog);
        QCOMPARE(english.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Cancel"));
        QCOMPARE(choice->findChild<QLabel*>(QStringLiteral("label_3"))->text(), englishTitle);
        Registry::setBaseFolder(QString());
    }
};

QTEST_MAIN(QtTranslationTest)
#include "tst_qt_translation.moc"
