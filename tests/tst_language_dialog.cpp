// The language and company dialog: the language box, the window drag, the pair button with
// the frame's link restored afterwards, the web link and a language-change event.
#include "ShellTestSupport.h"

#include "common/LanguageNames.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "pages/settings/LanSetting.h"
#include "pages/settings/Match.h"
#include "support/HidSimScript.h"
#include "support/UrlCatcher.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace shelltest;

namespace {

void mouseEvent(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

}  // namespace

class LanguageDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>();
        prepare(*m_env);
    }
    void cleanup() { m_env.reset(); }

    // Every item stores its own index, also when it is already the current one, and the two
    // signals follow in order.
    void languageBoxStoresAndAnnounces()
    {
        LanSetting dialog;
        auto* box = dialog.findChild<QComboBox*>(QStringLiteral("comboBox"));
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, LanguageNames());
        QCOMPARE(box->currentIndex(), 0);

        QStringList heard;
        QString storedAtChange;
        PostMsg* hub = PostMsg::instance();
        const auto a = connect(hub, &PostMsg::SigChangeLanguage, this, [&](int i) {
            heard << QStringLiteral("change %1").arg(i);
            storedAtChange = MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language"));
        });
        const auto b = connect(hub, &PostMsg::SigLanguageSameA, this,
                               [&](int i) { heard << QStringLiteral("same %1").arg(i); });
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < LanguageCount; ++i) {
                heard.clear();
                box->setCurrentIndex(i);
                emit box->activated(i);
                QCOMPARE(heard, (QStringList{QStringLiteral("change %1").arg(i), QStringLiteral("same %1").arg(i)}));
                QCOMPARE(storedAtChange, QString::number(i));
            }
        }
        disconnect(a);
        disconnect(b);
    }

    // Only a left-button drag that started with a press inside the window moves it.
    void dragRules_data()
    {
        QTest::addColumn<bool>("press");
        QTest::addColumn<int>("held");
        QTest::addColumn<QPoint>("movedTo");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left button") << true << int(Qt::LeftButton) << QPoint(60, 50) << true;
        QTest::newRow("right button") << true << int(Qt::RightButton) << QPoint(60, 50) << false;
        QTest::newRow("both buttons") << true << int(Qt::LeftButton | Qt::RightButton) << QPoint(60, 50) << false;
        QTest::newRow("no press before") << false << int(Qt::LeftButton) << QPoint(60, 50) << false;
        QTest::newRow("pointer outside") << true << int(Qt::LeftButton) << QPoint(560, 50) << false;
    }
    void dragRules()
    {
        QFETCH(bool, press);
        QFETCH(int, held);
        QFETCH(QPoint, movedTo);
        QFETCH(bool, moves);
        LanSetting dialog;
        dialog.move(100, 100);
        const QPoint start = dialog.pos();
        if (press)
            mouseEvent(&dialog, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
        mouseEvent(&dialog, QEvent::MouseMove, movedTo, Qt::NoButton, Qt::MouseButtons(held));
        QCOMPARE(dialog.pos() != start, moves);
        if (moves)
            QCOMPARE(dialog.pos(), start + movedTo - QPoint(20, 20));
        // After the release, moves do nothing.
        mouseEvent(&dialog, QEvent::MouseButtonRelease, movedTo, Qt::LeftButton, Qt::NoButton);
        const QPoint after = dialog.pos();
        mouseEvent(&dialog, QEvent::MouseMove, movedTo + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(dialog.pos(), after);
    }

    // The pair button closes the dialog, places the pairing dialog over where it stood and,
    // once pairing is done, gives the frame back its hot-plug watch, its link and a full read.
    void pairButtonPairsThenRestoresTheFrameLink()
    {
        const SimScript::Device d = SimScript::addReceiverMouse(1);
        makeCurrent(d.path);
        LanSetting dialog;
        dialog.move(300, 200);
        QRect area;
        QPoint matchAt;
        bool settingsVisible = true;
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("LanSetting"), [&](QWidget* w) {
            area = w->geometry();
            w->findChild<QPushButton*>(QStringLiteral("pushButton_2"))->click();
        });
        answerer.on(QStringLiteral("Match"), [&](QWidget* w) {
            matchAt = w->pos();
            settingsVisible = dialog.isVisible();
            ModalAnswerer::clickButton(QStringLiteral("CloseButton"))(w);
        });
        SimScript::deliver();
        HidSim_ClearCallLog();
        dialog.exec();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), (QStringList{QStringLiteral("LanSetting"), QStringLiteral("Match")}));
        QVERIFY(!settingsVisible);
        QCOMPARE(matchAt, QPoint(area.x() + area.width() / 2 - 220, area.y() + area.height() / 2 - 120));
        const QStringList log = SimScript::callLog();
        const QString path = QString::fromLatin1(d.path);
        // The choice page's watch from the pairing dialog's close, then the frame's.
        QCOMPARE(log.filter(QStringLiteral("StartUsbChanged(600)")).size(), 2);
        const int watch = log.lastIndexOf(QStringLiteral("StartUsbChanged(600)"));
        const int open = log.lastIndexOf(QStringLiteral("UsbServerC_Start(%1, %1)").arg(path));
        const int read = log.lastIndexOf(QStringLiteral("UsbServer_ReadAllFlashData()"));
        QVERIFY(watch >= 0 && watch < open && open < read);
    }

    void webLinkGoesToTheDesktop()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        LanSetting dialog;
        dialog.findChild<QPushButton*>(QStringLiteral("pushButton"))->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().host(), QStringLiteral("trelm.example.com"));
    }

    // A language-change event puts the form's texts back and keeps the box where it was,
    // without a signal.
    void languageChangeEventKeepsTheBox()
    {
        LanSetting dialog;
        auto* box = dialog.findChild<QComboBox*>(QStringLiteral("comboBox"));
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("label"));
        const QString formText = label->text();
        box->setCurrentIndex(4);
        label->setText(QStringLiteral("changed"));
        QSignalSpy changed(box, SIGNAL(currentIndexChanged(int)));
        QEvent event(QEvent::LanguageChange);
        QApplication::sendEvent(&dialog, &event);
        QCOMPARE(box->currentIndex(), 4);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(label->text(), formText);
        QCOMPARE(box->count(), LanguageCount);
    }

    // The receiver's version beside a mouse on its cable comes only from a list of two.
    void versionsBesideTheCable_data()
    {
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("receiver");
        QTest::newRow("two devices") << 2 << QStringLiteral("v3.2");
        QTest::newRow("three devices") << 3 << QString();
    }
    void versionsBesideTheCable()
    {
        QFETCH(int, listed);
        QFETCH(QString, receiver);
        DeviceAllInfo cable;
        cable.online = 1;
        cable.cableFlag = 1;
        cable.mouseVersion = QStringLiteral("v1.7");
        makeCurrent("sim:usb:0000", cable);
        DeviceAllInfo dongle;
        dongle.statusBytes = {1, 2, 3};
        dongle.firmwareVersion = QStringLiteral("v3.2");
        MainPageDeviceList = {CurrentDeviceRecord(), dongle};
        if (listed == 3)
            MainPageDeviceList.append(dongle);
        LanSetting dialog;
        dialog.ShowVersions();
        MainPageDeviceList.clear();
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label_2"))->text(), receiver);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label_5"))->text(), QStringLiteral("v1.7"));
    }

private:
    std::unique_ptr<TestEnv> m_env;
};

QTEST_MAIN(LanguageDialogTest)
#include "tst_language_dialog.moc"
