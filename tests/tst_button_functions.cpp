// The button page's key selectors and function buttons: opening a key shows its function,
// a function button sends its function to the chosen key, and the last left click stays.
#include "DeviceLinkFixture.h"
#include "common/MacroSetting.h"
#include "device/ButtonRecords.h"
#include "device/DeviceRecords.h"
#include "device/DeviceSetters.h"
#include "device/SensorHeader.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/KeySender.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"

#include "HIDUsbControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace linktest;

namespace {

QByteArray imageBytes(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image));
}

}  // namespace

class ButtonFunctionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;
    SimScript::Device m_mouse;
    FlashDataMap m_factory{};

    template <typename T = QToolButton>
    static T* child(QWidget& page, const QString& name)
    {
        T* widget = page.findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    static QToolButton* button(QWidget& page, const char* name) { return child(page, QString::fromLatin1(name)); }
    static QString current(QWidget& page, const char* stack)
    {
        return child<QStackedWidget>(page, QString::fromLatin1(stack))->currentWidget()->objectName();
    }
    static int scroll(QWidget& page, const char* area)
    {
        return child<QScrollArea>(page, QString::fromLatin1(area))->verticalScrollBar()->value();
    }

    // The mouse holds `image`; the page is filled from it as after a load. (The page's
    // Worker names no device when it is made: the mouse is chosen after the page.)
    void load(Buttoninterface& /*page*/, const FlashDataMap& image)
    {
        DeviceAllInfo record;
        record.path = QString::fromLatin1(m_mouse.path);
        record.modelIndex = 0;
        SetCurrentDeviceRecord(record);
        SetCurrentDevicePath(m_mouse.path);
        QCOMPARE(HidSim_SetImage(m_mouse.mouse, 0, reinterpret_cast<const uint8_t*>(&image)), 0);
        LoadWorkingImage(image);
        PostMsg::instance()->SendUpDataLightUIButton(image);
    }

    FlashDataMap storedImage() const
    {
        FlashDataMap image{};
        HidSim_GetImage(m_mouse.mouse, 0, reinterpret_cast<uint8_t*>(&image));
        return image;
    }
    FlashDataMap stored() const { return storedImage(); }
    FlashDataMap factory() const { return m_factory; }

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        MacroSetting::reload();
    }

    void cleanupTestCase() { m_env.reset(); }

    void init()
    {
        QFile::remove(m_env->programDir() + QStringLiteral("/driver_sensor.h"));
        QFile::copy(QStringLiteral(KAVRO_OUTPUT_DIR "/driver_sensor.h"), m_env->programDir() + QStringLiteral("/driver_sensor.h"));
        LoadSensorHeader();
        writeCatalogue(*m_env, "KeyNumber=8\nSensor=" + testcatalogue::encoded({QStringLiteral("3395")}) + "\n");
        resetFlags();
        HidSim_Reset();
        HidSim_SetZeroDelays(1);
        // Behind a receiver, so that it can fall asleep.
        m_mouse = SimScript::addReceiverMouse(1);
        m_factory = storedImage();
        SimScript::openQuietLink(m_mouse.path);
        ChosenModelId = 1;
    }

    void cleanup()
    {
        UsbServer_Exit();
        ClearWorkingImage();
        ResetCurrentDevice();
    }

    // Opening a key shows its function page with the function checked and in view.
    void openingShowsTheKeysFunction_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code1");
        QTest::addColumn<QByteArray>("combo");
        QTest::addColumn<QString>("page");          // stackedWidget_2, "" when nothing switched
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QString>("scrollArea");    // a list scrolled besides the function types
        QTest::addColumn<int>("scrollValue");
        QTest::addColumn<int>("typeScroll");
        const auto rec = [](const ButtonComboRecord& r) { return QByteArray(reinterpret_cast<const char*>(&r), sizeof r); };
        QTest::newRow("middle") << 1 << 4 << QByteArray() << "page_9" << QStringList{"MidKey"} << "" << 0 << 30;
        QTest::newRow("none") << 0 << 0 << QByteArray() << "page_9" << QStringList{"DPI_5"} << "" << 0 << 135;
        QTest::newRow("DPI down") << 2 << 3 << QByteArray() << "page_7" << QStringList{"DPI_7", "VolumeUp_10"} << "" << 0 << 195;
        QTest::newRow("light 3") << 8 << 3 << QByteArray() << "page_6" << QStringList{"DPI_9", "VolumeUp_7"} << "" << 0 << 180;
        QTest::newRow("light 4") << 8 << 4 << QByteArray() << "page_6" << QStringList{"DPI_9", "VolumeUp_7"} << "" << 0 << 180;
        QTest::newRow("light 2") << 8 << 2 << QByteArray() << "page_6" << QStringList{"DPI_9"} << "" << 0 << 180;
        QTest::newRow("volume down") << 5 << 0 << rec(MediaKeyRecord(0x00EA)) << "page_3"
                                     << QStringList{"DPI_12", "VolumeDown_4"} << "scrollArea_3" << 105 << 240;
        QTest::newRow("usage 0x24 typed") << 5 << 0 << rec(BuildComboRecord(QStringLiteral("7"))) << "page_9"
                                          << QStringList{"DPI_8"} << "" << 0 << 120;
        QTest::newRow("DPI lock 900") << 10 << 17 << QByteArray() << "page_8" << QStringList{"DPI_4", "VolumeUp_18"}
                                      << "scrollArea_10" << 120 << 225;
        QTest::newRow("macro") << 6 << 0 << QByteArray() << "page_5" << QStringList{"DPI_10"} << "" << 0 << 225;
        QTest::newRow("type 12") << 12 << 0 << QByteArray() << "" << QStringList{} << "" << 0 << 0;
    }

    void openingShowsTheKeysFunction()
    {
        QFETCH(int, type);
        QFETCH(int, code1);
        QFETCH(QByteArray, combo);
        QFETCH(QString, page);
        QFETCH(QStringList, checked);
        QFETCH(QString, scrollArea);
        QFETCH(int, scrollValue);
        QFETCH(int, typeScroll);
        Buttoninterface buttons;
        buttons.show();
        FlashDataMap image = factory();
        image.buttons[1] = ButtonBinding{uint8_t(type), uint8_t(code1), 0};
        std::memcpy(&image.combos[1], combo.constData(), size_t(combo.size()));
        load(buttons, image);
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "RightKey")->click();
        QCOMPARE(current(buttons, "stackedWidget"), page.isEmpty() ? QStringLiteral("page") : QStringLiteral("page_2"));
        QCOMPARE(current(buttons, "stackedWidget_2"), page.isEmpty() ? QStringLiteral("page_9") : page);
        QStringList on;
        for (QToolButton* b : buttons.findChildren<QToolButton*>()) {
            if (b->isChecked() && b->objectName() != QLatin1String("RightKey"))
                on << b->objectName();
        }
        std::sort(on.begin(), on.end());
        std::sort(checked.begin(), checked.end());
        QCOMPARE(on, checked);
        if (!scrollArea.isEmpty())
            QCOMPARE(scroll(buttons, qPrintable(scrollArea)), scrollValue);
        // Steps of 15 pixels, as far as the list scrolls.
        const QScrollBar* types = child<QScrollArea>(buttons, QStringLiteral("scrollArea_4"))->verticalScrollBar();
        QCOMPARE(types->value(), qMin(typeScroll, types->maximum()));
        QCOMPARE(child<QScrollArea>(buttons, QStringLiteral("scrollArea_11"))->verticalScrollBar()->styleSheet(),
                 QStringLiteral("QScrollBar {width:0px;}"));
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
    }

    // A model with six keys has no entry for the seventh: it opens as an unknown type.
    void keyWithoutEntryOpensNothing()
    {
        writeCatalogue(*m_env, "KeyNumber=6\n");
        Buttoninterface buttons;
        buttons.show();
        FlashDataMap image = factory();
        image.buttons[1] = ButtonBinding{1, 1, 0};  // two keys with the left click: both open
        load(buttons, image);
        button(buttons, "Button7")->click();
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));
        button(buttons, "FireKey")->click();
        QCOMPARE(child<QScrollArea>(buttons, QStringLiteral("scrollArea_11"))->verticalScrollBar()->styleSheet(),
                 QStringLiteral("QScrollBar {width:10px;}"));
    }

    // Every fixed function, DPI lock and media key reaches the checked key as its bytes.
    void functionButtonsSendTheirBindings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("binding");
        const auto row = [](const char* name, int type, int code1) {
            QTest::newRow(name) << QString::fromLatin1(name) << QByteArray(QByteArray(1, char(type)) + char(code1) + '\0');
        };
        row("LeftKey_3", 1, 1); row("RightKey_3", 1, 2); row("MidKey", 1, 4); row("BackKey_2", 1, 8);
        row("ForWardKey", 1, 16); row("DPI_2", 7, 0); row("DPI_5", 0, 0); row("VolumeUp_14", 11, 1);
        row("VolumeDown_14", 11, 2); row("VolumeUp_2", 3, 1); row("VolumeDown_2", 3, 2); row("VolumeUp_8", 2, 1);
        row("VolumeUp_9", 2, 2); row("VolumeUp_10", 2, 3); row("VolumeUp_7", 8, 3);
        // Sensor "3395" has no code table: dpi / 50 - 1.
        row("VolumeUp_11", 10, 1); row("VolumeUp_16", 10, 7); row("VolumeUp_21", 10, 23);
        for (const MediaFunction& media : MediaFunctions)
            row(media.button, 5, 0);
    }

    void functionButtonsSendTheirBindings()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, binding);
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        QToolButton* function = child(buttons, name);
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "RightKey")->click();
        function->click();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);
        const QByteArray image = imageBytes(stored());
        QCOMPARE(image.mid(77, 3), binding);
        QCOMPARE(buttons.BindingType.at(1), int(binding.at(0)));
        const QString expected = binding.at(0) == 10 ? button(buttons, "DPI_4")->text() + "-" + function->text() : function->text();
        QCOMPARE(button(buttons, "RightKey")->text(), expected);
        for (const MediaFunction& media : MediaFunctions) {
            if (name == QLatin1String(media.button)) {
                const ButtonComboRecord record = MediaKeyRecord(media.usage);
                QCOMPARE(image.mid(124 + 52, 52), QByteArray(reinterpret_cast<const char*>(&record), 52));
            }
        }
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));
        // The same function again is sent again.
        button(buttons, "RightKey")->click();
        function->setChecked(false);
        function->click();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 2);
    }

    // Rows 4 and 5 write keys 4 and 3; the seventh key writes key 9.
    void selectorsWriteTheirKeys()
    {
        ChosenModelId = 6;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        for (const auto& [name, offset] : {std::pair<const char*, int>{"StartPause", 86}, {"TopMusic", 83}, {"Button7", 101}}) {
            button(buttons, name)->click();
            button(buttons, "VolumeUp_9")->setChecked(false);
            button(buttons, "VolumeUp_9")->click();
            QCOMPARE(imageBytes(stored()).mid(offset, 3), QByteArray("\x02\x02\x00", 3));
        }
        // Next track on the first key once another key holds the left click too.
        button(buttons, "RightKey")->click();
        button(buttons, "LeftKey_3")->click();
        button(buttons, "FireKey")->click();
        button(buttons, "BackMusic_2")->click();
        const QByteArray image = imageBytes(stored());
        QCOMPARE(image.mid(74, 3), QByteArray("\x05\x00\x00", 3));
        QCOMPARE(image.mid(124, 20), QByteArray("\x02\x00\x00\x00\x00\x02\xB5\x00\x0A\x00\x00\x00\x01\x02\xB5\x00\x0A\x00\x00\x00", 20));
        QCOMPARE(image.mid(144, 32), QByteArray(32, '\0'));
    }

    // The DPI lock on a sensor with a code table takes the table's code.
    void dpiLockUsesTheSensorsTable()
    {
        writeCatalogue(*m_env, "KeyNumber=7\nSensor=" + testcatalogue::encoded({QStringLiteral("3311")}) + "\n");
        ChosenModelId = 6;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        button(buttons, "Button7")->click();
        button(buttons, "DPI_4")->click();
        button(buttons, "VolumeUp_22")->click();
        const QByteArray image = imageBytes(stored());
        QCOMPARE(int(uchar(image.at(101))), 0x0A);
        QCOMPARE(int(uchar(image.at(102))), 0x08);
        QCOMPARE(button(buttons, "Button7")->text(), button(buttons, "DPI_4")->text() + QStringLiteral("-800"));
        QCOMPARE(buttons.BindingCode1.at(6), 8);
    }

    // Every shipped model, every DPI-lock value: sent, read back from the mouse, named and
    // checked again.
    void dpiLockRoundTripOnEveryModel()
    {
        QFile::remove(m_env->programDir() + QStringLiteral("/usersetting/Config.ini"));
        QFile::copy(QStringLiteral(KAVRO_OUTPUT_DIR "/usersetting/Config.ini"), m_env->programDir() + QStringLiteral("/usersetting/Config.ini"));
        UserConfig::reload();
        const int models = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
        QVERIFY(models >= 11);
        for (int model = 0; model < models; ++model) {
            ChosenModelId = UserConfig::instance()->value(CatalogueModelGroup(model), QStringLiteral("MID")).toInt();
            Buttoninterface buttons;
            buttons.show();
            load(buttons, factory());
            UpdateCurrentDeviceRecord([model](DeviceAllInfo& r) { r.modelIndex = model; });
            PostMsg::instance()->SendUpDataLightUIButton(factory());
            for (const char* lock : {"VolumeUp_11", "VolumeUp_12", "VolumeUp_13", "VolumeUp_16", "VolumeUp_15", "VolumeUp_19",
                                     "VolumeUp_20", "VolumeUp_22", "VolumeUp_18", "VolumeUp_24", "VolumeUp_23", "VolumeUp_21"}) {
                const QString where = QStringLiteral("model %1 %2").arg(model).arg(QLatin1String(lock));
                button(buttons, "RightKey")->click();
                button(buttons, "DPI_4")->click();
                button(buttons, lock)->setChecked(false);
                button(buttons, lock)->click();
                QVERIFY2(stored().buttons[1].type == 10, qPrintable(where));
                PostMsg::instance()->SendUpDataLightUIButton(stored());
                QVERIFY2(button(buttons, "RightKey")->text()
                             == button(buttons, "DPI_4")->text() + QStringLiteral("-") + button(buttons, lock)->text(),
                         qPrintable(where + " " + button(buttons, "RightKey")->text()));
                button(buttons, lock)->setChecked(false);
                button(buttons, "RightKey")->click();
                QVERIFY2(button(buttons, lock)->isChecked(), qPrintable(where));
            }
        }
    }

    // Offline or with no key chosen nothing is sent and the views close.
    void nothingSentOfflineOrWithoutKey()
    {
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "MidKey")->click();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));

        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        const QString before = button(buttons, "RightKey")->text();
        button(buttons, "RightKey")->click();
        HidSim_SetAwake(m_mouse.mouse, 0);
        button(buttons, "ForWardKey")->click();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
        QCOMPARE(button(buttons, "RightKey")->text(), before);
        QCOMPARE(buttons.BindingCode1.at(1), 2);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));
    }

    // The only key with the left click cannot be opened nor given another function.
    void lastLeftClickStays()
    {
        ModalAnswerer answerer;
        Buttoninterface buttons;
        buttons.show();
        FlashDataMap image = factory();
        image.buttons[0] = ButtonBinding{1, 2, 0};
        image.buttons[5] = ButtonBinding{1, 1, 0};
        load(buttons, image);
        button(buttons, "BackMusic")->click();
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.handled(), QStringList{"LeftButtonOnly"});
        for (const char* name : {"FireKey", "RightKey", "BackKey", "StartPause", "TopMusic", "BackMusic", "Button7"})
            QVERIFY(!button(buttons, name)->isChecked());
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));

        // Chosen by its marker the key is not opened, but the guard holds at the write.
        load(buttons, factory());
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "Number1")->click();
        QVERIFY(button(buttons, "FireKey")->isChecked());
        for (const char* function : {"RightKey_3", "VolumeDown"}) {
            button(buttons, "Number1")->click();
            button(buttons, function)->click();
            QVERIFY(answerer.waitForNext());
        }
        QCOMPARE(answerer.handled().size(), 3);
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
        button(buttons, "Number1")->click();
        button(buttons, "LeftKey_3")->click();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);

        // With two holders either one opens.
        image = factory();
        image.buttons[1] = ButtonBinding{1, 1, 0};
        load(buttons, image);
        button(buttons, "FireKey")->click();
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page_2"));
        QCOMPARE(answerer.handled().size(), 3);
    }

    void markersChooseWithoutOpening_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("fourth");
        QTest::newRow("model 5") << 5 << "TopMusic";
        QTest::newRow("model 1") << 1 << "StartPause";
    }

    void markersChooseWithoutOpening()
    {
        QFETCH(int, model);
        QFETCH(QString, fourth);
        ChosenModelId = model;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        button(buttons, "Number4")->click();
        QVERIFY(child(buttons, fourth)->isChecked());
        QCOMPARE(scroll(buttons, "scrollArea_11"), 45);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));

        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim_SetAwake(m_mouse.mouse, 0);
        button(buttons, "Number3")->click();
        QCOMPARE(offline.count(), 1);
        QVERIFY(button(buttons, "BackKey")->isChecked());
    }

    void macroTypeWithoutMacrosAsksForOne()
    {
        ModalAnswerer answerer;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "RightKey")->click();
        button(buttons, "DPI_10")->click();
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.handled(), QStringList{"MakeMacro"});
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
    }

    // Rapid fire goes through its dialog: presets from the key's own values, else 10 and 3.
    void rapidFireThroughItsDialog()
    {
        ModalAnswerer answerer;
        QList<QPair<int, int>> presets;
        QList<QPair<int, int>> answers{{25, 2}, {40, 1}};
        answerer.on("FireKey", [&](QWidget* dialog) {
            auto* time = dialog->findChild<QSpinBox*>(QStringLiteral("Time"));
            auto* count = dialog->findChild<QSpinBox*>(QStringLiteral("Count"));
            presets << qMakePair(time->value(), count->value());
            if (answers.isEmpty()) {
                ModalAnswerer::clickButton(QStringLiteral("NewHong_2"))(dialog);
                return;
            }
            const QPair<int, int> answer = answers.takeFirst();
            time->setValue(answer.first);
            count->setValue(answer.second);
            ModalAnswerer::clickButton(QStringLiteral("NewHong"))(dialog);
        });
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        QToolButton* fire = button(buttons, "DPI_6");
        const int writes = HidSim_WriteCount(m_mouse.mouse);

        button(buttons, "RightKey")->click();
        QTest::mouseClick(fire, Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(presets, (QList<QPair<int, int>>{{10, 3}}));
        QCOMPARE(imageBytes(stored()).mid(77, 3), QByteArray("\x04\x19\x02", 3));
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);
        QCOMPARE(button(buttons, "RightKey")->text(), fire->text());
        QCOMPARE(buttons.BindingCode1.at(1), 25);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));

        // The same key again starts from its own values; another key from the defaults.
        button(buttons, "RightKey")->click();
        QTest::mouseClick(fire, Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(presets.last(), qMakePair(25, 2));
        QCOMPARE(imageBytes(stored()).mid(77, 3), QByteArray("\x04\x28\x01", 3));
        const QString back = button(buttons, "BackKey")->text();
        button(buttons, "BackKey")->click();
        QTest::mouseClick(fire, Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(presets.last(), qMakePair(10, 3));

        // Cancelled: nothing sent, the key keeps its function.
        const FlashDataMap before = stored();
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 2);
        QCOMPARE(imageBytes(before).mid(80, 3), imageBytes(factory()).mid(80, 3));
        QCOMPARE(button(buttons, "BackKey")->text(), back);

        // A double click opens the same dialog, once; cancelled, it writes nothing either.
        button(buttons, "RightKey")->click();
        const int dialogs = answerer.count();
        QTest::mouseDClick(fire, Qt::LeftButton);
        QTest::mouseRelease(fire, Qt::LeftButton);  // the double click's own release
        QVERIFY(answerer.waitForNext());
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.count(), dialogs + 1);
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 2);
        QCOMPARE(imageBytes(stored()), imageBytes(before));
    }

    // Offline the rapid-fire button shows neither its dialog nor a notice; the views close.
    void rapidFireOffline()
    {
        ModalAnswerer answerer;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "RightKey")->click();
        HidSim_SetAwake(m_mouse.mouse, 0);
        QTest::mouseClick(button(buttons, "DPI_6"), Qt::LeftButton);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));
        button(buttons, "RightKey")->click();
        QTest::mouseDClick(button(buttons, "DPI_6"), Qt::LeftButton);
        QTest::mouseRelease(button(buttons, "DPI_6"), Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(offline.count(), 0);
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
    }

    // A key combination through its dialog: the record in the key's slot, the list open.
    void combinationThroughItsDialog()
    {
        ModalAnswerer answerer;
        // A modifier box and a letter key, as a person enters them; nothing at all when empty.
        QString box = QStringLiteral("Ctrl");
        char letter = 'V';
        answerer.on("GroupKey", [&](QWidget* dialog) {
            if (!box.isEmpty()) {
                QTest::mouseClick(dialog->findChild<QCheckBox*>(box), Qt::LeftButton);
                keys::tap(dialog, keys::letter(letter));
            }
            ModalAnswerer::clickButton(QStringLiteral("NewHong"))(dialog);
        });
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        button(buttons, "BackKey")->click();
        QTest::mouseClick(button(buttons, "DPI_8"), Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.handled(), QStringList{"GroupKey"});
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);
        const QByteArray image = imageBytes(stored());
        QCOMPARE(image.mid(80, 3), QByteArray("\x05\x00\x00", 3));
        const ButtonComboRecord record = BuildComboRecord(QStringLiteral("Ctrl+V"));
        QCOMPARE(image.mid(124 + 52 * 2, 52), QByteArray(reinterpret_cast<const char*>(&record), 52));
        QCOMPARE(button(buttons, "BackKey")->text(), QStringLiteral("Ctrl+V"));
        QCOMPARE(buttons.BindingType.at(2), 5);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page_2"));
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));

        // Confirmed without a key: nothing sent, nothing closed.
        box.clear();
        button(buttons, "RightKey")->click();
        button(buttons, "DPI_9")->click();
        const QString right = button(buttons, "RightKey")->text();
        QTest::mouseClick(button(buttons, "DPI_8"), Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);
        QCOMPARE(button(buttons, "RightKey")->text(), right);
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_6"));

        // Offline the dialog opens, then the notice comes and nothing is sent.
        box = QStringLiteral("Alt");
        letter = 'X';
        QSignalSpy offline(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim_SetAwake(m_mouse.mouse, 0);
        QTest::mouseClick(button(buttons, "DPI_8"), Qt::LeftButton);
        QVERIFY(answerer.waitForNext());
        QCOMPARE(answerer.count(), 3);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes + 1);
        QCOMPARE(button(buttons, "RightKey")->text(), right);
    }

    // The only key with the left click gets neither dialog.
    void dialogsRefusedOnTheLastLeftClick()
    {
        ModalAnswerer answerer;
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        const int writes = HidSim_WriteCount(m_mouse.mouse);
        for (const char* function : {"DPI_6", "DPI_8"}) {
            button(buttons, "Number1")->click();
            QTest::mouseClick(button(buttons, function), Qt::LeftButton);
            QVERIFY(answerer.waitForNext());
        }
        QCOMPARE(answerer.handled(), (QStringList{"LeftButtonOnly", "LeftButtonOnly"}));
        QCOMPARE(HidSim_WriteCount(m_mouse.mouse), writes);
        QVERIFY(!button(buttons, "FireKey")->isChecked());
    }

    // The open function-type list lies above the key list, the closed one below.
    void functionTypeListRaisedWhileOpen()
    {
        Buttoninterface buttons;
        auto* list = child<QStackedWidget>(buttons, QStringLiteral("stackedWidget"));
        auto* keys = child<QScrollArea>(buttons, QStringLiteral("scrollArea_11"));
        const auto above = [&] {
            const QObjectList& order = list->parentWidget()->children();
            return order.indexOf(list) > order.indexOf(keys);
        };
        list->setCurrentIndex(1);
        QVERIFY(above());
        list->setCurrentIndex(0);
        QVERIFY(!above());
    }

    void pagePressesCloseOrLetGo()
    {
        Buttoninterface buttons;
        buttons.show();
        load(buttons, factory());
        const auto press = [&](QPoint at, Qt::MouseButton which, QEvent::Type type = QEvent::MouseButtonPress) {
            QMouseEvent event(type, at, buttons.mapToGlobal(at), which, which, Qt::NoModifier);
            QApplication::sendEvent(&buttons, &event);
        };
        // The sixth key cycles the DPI: its page is open beside the function types.
        button(buttons, "BackMusic")->click();
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_7"));
        press(QPoint(160, 100), Qt::RightButton);
        press(QPoint(160, 100), Qt::LeftButton, QEvent::MouseButtonDblClick);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page_2"));
        // Outside the work areas: the area closes, the key stays chosen.
        press(QPoint(160, 100), Qt::LeftButton);
        QCOMPARE(current(buttons, "stackedWidget"), QStringLiteral("page"));
        QCOMPARE(current(buttons, "stackedWidget_2"), QStringLiteral("page_9"));
        QVERIFY(button(buttons, "BackMusic")->isChecked());
        // On the mouse picture: the key is let go.
        button(buttons, "RightKey")->click();
        press(child<QWidget>(buttons, QStringLiteral("widget"))->geometry().center(), Qt::LeftButton);
        QVERIFY(!button(buttons, "RightKey")->isChecked());
    }

    // A language-change event (a translator installed) keeps the page's texts and choice.
    void languageChangeEventKeepsTexts()
    {
        Buttoninterface buttons;
        load(buttons, factory());
        buttons.SlotUpDataConfigUI(4, 2, true);
        auto* box = child<QComboBox>(buttons, QStringLiteral("ProjectChoose"));
        QSignalSpy changed(box, SIGNAL(currentIndexChanged(int)));
        const QString right = button(buttons, "RightKey")->text();
        QEvent event(QEvent::LanguageChange);
        QApplication::sendEvent(&buttons, &event);
        QCOMPARE(box->currentIndex(), 2);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(button(buttons, "Reset")->text(), QStringLiteral("Reset"));
        QCOMPARE(button(buttons, "RightKey")->text(), right);
    }
};

QTEST_MAIN(ButtonFunctionsTest)
#include "tst_button_functions.moc"
