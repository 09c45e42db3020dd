// The sensor page around the DPI panel: what a fill shows for each model, connection and
// image, what each control writes, and that fills, resets and the mouse's own reports write
// nothing back.
#include "SensorPageFixture.h"

#include "device/DpiCodes.h"
#include "pages/sensor/SensorEffect.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/SensorSwitch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QAbstractItemView>
#include <QtTest>

#include <functional>

using namespace sensortest;

namespace {

const char* const RateButtons[7] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                    "Button2000HZ", "Button4000HZ", "Button8000HZ"};

struct Page {
    Sensor* page;
    template <typename T = QWidget>
    T* get(const char* name) const
    {
        return page->findChild<T*>(QLatin1String(name));
    }
    QToolButton* rate(int row) const { return get<QToolButton>(RateButtons[row]); }
    int checkedRate() const
    {
        for (int row = 0; row < 7; ++row) {
            if (rate(row)->isChecked())
                return row;
        }
        return -1;
    }
    QComboBox* mode() const { return get<QComboBox>("ModelChoose"); }
    bool cordedOffered() const { return !static_cast<QListView*>(mode()->view())->isRowHidden(2); }
    QComboBox* lod() const { return get<QComboBox>("LOD"); }
    QComboBox* effectMode() const { return get<QComboBox>("Model"); }
    QSlider* light() const { return get<QSlider>("LightH"); }
    QSlider* speed() const { return get<QSlider>("SpeedH"); }
    QToolButton* switchButton(const char* name) const { return get<QToolButton>(name); }
    bool shown(const char* name) const { return get(name)->isVisibleTo(page); }
};

QByteArray put(QByteArray image, std::initializer_list<std::pair<int, int>> bytes)
{
    for (const auto& b : bytes)
        image[b.first] = char(b.second);
    return image;
}

void setKind(uint8_t kind)
{
    UpdateCurrentDeviceRecord([kind](DeviceAllInfo& r) { r.kind = kind; });
}

}  // namespace

class SensorPageTest : public QObject {
    Q_OBJECT

private slots:
    void fillRates_data();
    void fillRates();
    void rateModes();
    void fillLiftOff_data();
    void fillLiftOff();
    void fillSensorMode_data();
    void fillSensorMode();
    void fillSwitchesPerformanceAndLight_data();
    void fillSwitchesPerformanceAndLight();
    void compactAndMotionSyncLayouts();
    void resetRows_data();
    void resetRows();
    void mouseIndexShowsTheLightBlock();
    void rateClicks_data();
    void rateClicks();
    void userActionsWriteTheirBytes_data();
    void userActionsWriteTheirBytes();
    void brightnessDrag();
    void nothingWrittenWithoutWriteEnabled();
    void offlineActionsGiveOneNoticeEach();
    void fillsAndReportsWriteNothing();
    void textsFollowTheLanguage();
};

void SensorPageTest::fillRates_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("row");
    QTest::newRow("8000 Hz through an 8 kHz receiver") << 5 << 0x40 << 6;
    QTest::newRow("2000 Hz") << 4 << 0x10 << 4;
    QTest::newRow("125 Hz") << 1 << 0x08 << 0;
    QTest::newRow("code 3 leaves the rate") << 1 << 3 << 3;
}

void SensorPageTest::fillRates()
{
    QFETCH(int, kind);
    QFETCH(int, code);
    World w(1, kind);
    Page p{w.buildPage()};
    w.fillFromMouse();  // factory: 1000 Hz
    QCOMPARE(p.checkedRate(), 3);
    w.setStoredImage(put(w.storedImage(), {{0, code}}));
    w.fillFromMouse();
    QTEST(p.checkedRate(), "row");
}

void SensorPageTest::rateModes()
{
    struct Case {
        int kind;
        bool shown2000, shown4000, shown8000;
    };
    for (const Case& c : {Case{0, false, false, false}, Case{2, false, false, false}, Case{1, true, true, false},
                          Case{4, true, false, false}, Case{5, true, true, true}}) {
        World w(1, c.kind == 2 ? 0 : c.kind);
        setKind(uint8_t(c.kind));
        Page p{w.buildPage()};
        w.fillFromMouse();
        QCOMPARE(p.rate(4)->isVisibleTo(p.page), c.shown2000);
        QCOMPARE(p.rate(5)->isVisibleTo(p.page), c.shown4000);
        QCOMPARE(p.rate(6)->isVisibleTo(p.page), c.shown8000);
        for (int row = 0; row < 4; ++row)
            QVERIFY(p.rate(row)->isVisibleTo(p.page));
    }
    World w(1, 5);
    Page p{w.buildPage()};
    auto* panel = p.get<SensorRate>("frameRate");
    panel->setMaxRateMode(2);
    QVERIFY(p.rate(4)->isVisibleTo(p.page) && !p.rate(5)->isVisibleTo(p.page) && !p.rate(6)->isVisibleTo(p.page));
    panel->setMaxRateMode(4);
    QVERIFY(p.rate(4)->isVisibleTo(p.page) && !p.rate(5)->isVisibleTo(p.page));
    panel->setRate(2);
    panel->setRate(7);
    QCOMPARE(p.checkedRate(), 2);
}

void SensorPageTest::fillLiftOff_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("3950, 0.7 mm") << 2 << 3 << QStringList{"0.7mm", "1mm", "2mm"} << "0.7mm" << true;
    QTest::newRow("3950, 2 mm") << 2 << 2 << QStringList{"0.7mm", "1mm", "2mm"} << "2mm" << true;
    QTest::newRow("3395, 1 mm") << 1 << 1 << QStringList{"1mm", "2mm"} << "1mm" << true;
    QTest::newRow("3395, code 3") << 1 << 3 << QStringList{"1mm", "2mm"} << "" << true;
    QTest::newRow("3311, not offered") << 10 << 2 << QStringList{"1mm", "2mm"} << "2mm" << false;
}

void SensorPageTest::fillLiftOff()
{
    QFETCH(int, mid);
    QFETCH(int, code);
    World w{uint8_t(mid)};
    Page p{w.buildPage()};
    // A 3950 fill first, so the two-entry cases also show the low entry going away.
    w.setStoredImage(put(w.storedImage(), {{5, code}}));
    w.fillFromMouse();
    QStringList items;
    for (int i = 0; i < p.lod()->count(); ++i)
        items << p.lod()->itemText(i);
    QTEST(items, "items");
    QTEST(p.lod()->currentText(), "current");
    QTEST(p.lod()->isEnabled(), "enabled");
}

void SensorPageTest::fillSensorMode_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("modeByte");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("corded");
    QTest::newRow("4 kHz receiver at 2000 Hz") << 1 << 1 << 0x10 << 1 << 2 << false << true;
    QTest::newRow("4 kHz receiver at 1000 Hz") << 1 << 1 << 0x01 << 1 << 1 << true << false;
    QTest::newRow("1 kHz receiver at 2000 Hz") << 1 << 0 << 0x10 << 0 << 0 << true << false;
    QTest::newRow("mode byte out of range") << 1 << 1 << 0x01 << 7 << 0 << true << false;
    QTest::newRow("sensor without mode") << 10 << 1 << 0x10 << 1 << 0 << false << true;
}

void SensorPageTest::fillSensorMode()
{
    QFETCH(int, mid);
    QFETCH(int, kind);
    QFETCH(int, rate);
    QFETCH(int, modeByte);
    World w{uint8_t(mid), kind};
    Page p{w.buildPage()};
    w.setStoredImage(put(w.storedImage(), {{0, rate}, {14, modeByte}}));
    w.fillFromMouse();
    QTEST(p.mode()->currentIndex(), "index");
    QTEST(p.mode()->isEnabled(), "enabled");
    QTEST(p.cordedOffered(), "corded");
}

void SensorPageTest::fillSwitchesPerformanceAndLight_data()
{
    QTest::addColumn<QByteArray>("changes");  // offset, value pairs
    QTest::addColumn<QString>("check");
    QTest::addColumn<int>("expected");
    const auto bytes = [](std::initializer_list<int> v) {
        QByteArray b;
        for (int x : v)
            b.append(char(x));
        return b;
    };
    QTest::newRow("ripple on") << bytes({10, 1}) << "RippeControl_2" << 1;
    QTest::newRow("straight line on") << bytes({9, 1}) << "StraightLine_2" << 1;
    QTest::newRow("motion sync off") << bytes({7, 0}) << "MotionSync_2" << 0;
    QTest::newRow("motion sync on") << bytes({7, 1}) << "MotionSync_2" << 1;
    QTest::newRow("performance on") << bytes({12, 1}) << "Performance" << 1;
    QTest::newRow("performance time 12") << bytes({12, 1, 13, 12}) << "PerformanceOpen" << 2;
    QTest::newRow("performance time 120 shows none") << bytes({12, 1, 13, 120}) << "PerformanceOpen" << -1;
    QTest::newRow("brightness 180") << bytes({64, 180}) << "LightH" << 7;
    QTest::newRow("brightness 100") << bytes({64, 100}) << "LightH" << 10;
    QTest::newRow("brightness 0") << bytes({64, 0}) << "LightH" << 1;
    QTest::newRow("light off") << bytes({66, 0}) << "Model" << 0;
    QTest::newRow("breathing") << bytes({66, 1, 63, 2}) << "Model" << 2;
    QTest::newRow("speed 4") << bytes({65, 4}) << "SpeedH" << 4;
}

void SensorPageTest::fillSwitchesPerformanceAndLight()
{
    QFETCH(QByteArray, changes);
    QFETCH(QString, check);
    World w(1);
    Page p{w.buildPage()};
    w.fillFromMouse();  // what the page showed before: the factory image
    QByteArray image = w.storedImage();
    for (int i = 0; i + 1 < changes.size(); i += 2)
        image[uint8_t(changes.at(i))] = changes.at(i + 1);
    w.setStoredImage(image);
    const int before = w.writes();
    w.fillFromMouse();
    QCOMPARE(w.writes(), before);
    QWidget* widget = p.get(qPrintable(check));
    QVERIFY(widget);
    int value = -1;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        value = button->isChecked() ? 1 : 0;
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        value = combo->currentIndex();
    else if (auto* slider = qobject_cast<QSlider*>(widget))
        value = slider->value();
    QTEST(value, "expected");
    QCOMPARE(p.get("PerformanceOpen")->isEnabled(), image.at(12) != 0);
}

void SensorPageTest::compactAndMotionSyncLayouts()
{
    const QList<const char*> block = {"TitleButton_4", "label_5", "label_11", "ModelChoose", "frameLOD",
                                      "Performance", "PerformanceOpen", "frame", "frame_4", "frame_3"};
    {
        World w(6);  // "XIn1" 2
        Page p{w.buildPage()};
        w.fillFromMouse();
        for (const char* name : block)
            QVERIFY2(!p.shown(name), name);
        QCOMPARE(p.get("frameEffect")->pos(), QPoint(80, 316));
        QCOMPARE(p.get("TitleButton_3")->pos(), QPoint(40, 323));
    }
    {
        World w(10);
        Page p{w.buildPage()};
        w.fillFromMouse();
        for (const char* name : block) {
            if (qstrcmp(name, "frame_3") != 0)
                QVERIFY2(p.shown(name), name);
        }
        QVERIFY(!p.shown("frame_3"));
        QCOMPARE(p.get("frameEffect")->pos(), QPoint(80, 456));
        w.page->SlotFormReset();
        QVERIFY(!p.shown("frame_3"));
    }
    {
        World w(1);
        Page p{w.buildPage()};
        w.fillFromMouse();
        QVERIFY(p.shown("frame_3"));
    }
}

void SensorPageTest::resetRows_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("motionSyncShown");
    QTest::newRow("MID 1, 8 kHz receiver") << 1 << 5 << 6 << 2 << true;
    QTest::newRow("MID 1, 1 kHz receiver") << 1 << 0 << 3 << 0 << true;
    QTest::newRow("MID 4, 4 kHz receiver") << 4 << 1 << 3 << 2 << true;
    QTest::newRow("MID 13, 2 kHz receiver") << 13 << 4 << 3 << 2 << false;
}

void SensorPageTest::resetRows()
{
    QFETCH(int, mid);
    QFETCH(int, kind);
    World w{uint8_t(mid), kind};
    Page p{w.buildPage()};
    const int before = w.writes();
    w.page->SlotFormReset();
    QCOMPARE(w.writes(), before);
    QTEST(p.checkedRate(), "rate");
    QTEST(p.mode()->currentIndex(), "mode");
    QTEST(p.shown("frame_3"), "motionSyncShown");
    QCOMPARE(p.lod()->currentText(), QStringLiteral("1mm"));
    QCOMPARE(p.effectMode()->currentIndex(), 2);
    QCOMPARE(p.speed()->value(), 3);
    QCOMPARE(p.light()->value(), 5);
    QCOMPARE(p.get<QComboBox>("PerformanceOpen")->currentIndex(), 1);
    QVERIFY(!p.get<QCheckBox>("Performance")->isChecked());
    QVERIFY(!p.get("PerformanceOpen")->isEnabled());
    QVERIFY(p.switchButton("MotionSync_2")->isChecked());
    QVERIFY(!p.switchButton("StraightLine_2")->isChecked());
    QVERIFY(!p.switchButton("RippeControl_2")->isChecked());

    // Model 2 is not reset: the page stays as it is.
    World other(2);
    Page q{other.buildPage()};
    other.fillFromMouse();
    const int checked = q.checkedRate();
    other.page->SlotFormReset();
    QCOMPARE(q.checkedRate(), checked);
    QCOMPARE(q.speed()->value(), 3);  // the factory image's, not the reset's
}

void SensorPageTest::mouseIndexShowsTheLightBlock()
{
    World w(1);
    Page p{w.buildPage()};
    PostMsg::instance()->SendMouseIndex(1);
    QVERIFY(!p.shown("frameEffect"));
    QVERIFY(!p.shown("TitleButton_3"));
    PostMsg::instance()->SendMouseIndex(2);
    QVERIFY(p.shown("frameEffect"));
    QVERIFY(p.shown("TitleButton_3"));
    PostMsg::instance()->SendMouseIndex(11);
    QVERIFY(!p.shown("frameEffect"));
}

void SensorPageTest::rateClicks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("hide");
    QTest::addColumn<int>("modeIndex");  // after the click; -1: free with the mouse's mode
    const int codes[7] = {0x08, 0x04, 0x02, 0x01, 0x10, 0x20, 0x40};
    for (int row = 0; row < 7; ++row)
        QTest::addRow("%s", RateButtons[row]) << row << codes[row] << (row >= 4 ? 1 : 0) << (row >= 4 ? 2 : -1);
}

void SensorPageTest::rateClicks()
{
    QFETCH(int, row);
    QFETCH(int, code);
    World w(1, 5);  // 8 kHz receiver: every rate offered
    setKind(1);     // a 4 kHz receiver's rule for the sensor mode
    Page p{w.buildPage()};
    w.setStoredImage(put(w.storedImage(), {{14, 1}}));
    w.fillFromMouse();
    UpdateCurrentDeviceRecord([](DeviceAllInfo& r) { r.kind = 5; });
    p.get<SensorRate>("frameRate")->setMaxRateMode(3);
    setKind(1);
    QSignalSpy hide(PostMsg::instance(), SIGNAL(SigHideModel(int)));
    const QByteArray before = w.storedImage();
    const int writes = w.writes();
    QTest::mouseClick(p.rate(row), Qt::LeftButton);
    QCOMPARE(w.writes(), writes + 1);
    QCOMPARE(w.storedImage(), put(before, {{0, code}}));
    QCOMPARE(hide.count(), 1);
    QTEST(hide.at(0).at(0).toInt(), "hide");
    QFETCH(int, modeIndex);
    if (row == 6) {
        // The page has no rule of its own for 8000 Hz; the panel's notice forces "Corded".
        QCOMPARE(p.mode()->currentIndex(), 2);
    } else if (modeIndex < 0) {
        QCOMPARE(p.mode()->currentIndex(), 1);
        QVERIFY(p.mode()->isEnabled());
        QVERIFY(!p.cordedOffered());
    } else {
        QCOMPARE(p.mode()->currentIndex(), 2);
        QVERIFY(!p.mode()->isEnabled());
    }
    // The checked button again: the same code once more.
    QTest::mouseClick(p.rate(row), Qt::LeftButton);
    QCOMPARE(w.writes(), writes + 2);
    QCOMPARE(hide.count(), 2);
    QCOMPARE(w.storedImage().at(14), char(1));  // "Corded" is never written
}

void SensorPageTest::userActionsWriteTheirBytes_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("bytes");  // offset, value pairs expected in the stored image
    const auto b = [](std::initializer_list<int> v) {
        QByteArray out;
        for (int x : v)
            out.append(char(x));
        return out;
    };
    QTest::newRow("mode HP") << 1 << "mode 1" << b({14, 1});
    QTest::newRow("mode LP") << 1 << "mode 0" << b({14, 0});
    QTest::newRow("0.7mm of three") << 2 << "lod 0.7mm" << b({5, 3});
    QTest::newRow("2mm of three") << 2 << "lod 2mm" << b({5, 2});
    QTest::newRow("2mm of two") << 1 << "lod 2mm" << b({5, 2});
    QTest::newRow("performance on") << 1 << "performance" << b({12, 1});
    QTest::newRow("performance time 2 minutes") << 1 << "time 2" << b({13, 12});
    QTest::newRow("ripple on") << 1 << "RippeControl_2" << b({10, 1});
    QTest::newRow("straight line on") << 1 << "StraightLine_2" << b({9, 1});
    QTest::newRow("motion sync off") << 1 << "MotionSync_2" << b({7, 0});
    QTest::newRow("light off") << 1 << "effect 0" << b({66, 0});
    QTest::newRow("light steady") << 1 << "effect 1" << b({66, 1, 63, 1});
    QTest::newRow("speed 5") << 1 << "speed 5" << b({65, 5});
}

void SensorPageTest::userActionsWriteTheirBytes()
{
    QFETCH(int, mid);
    QFETCH(QString, action);
    QFETCH(QByteArray, bytes);
    World w{uint8_t(mid), 0};  // 1 kHz receiver: the sensor mode list is free
    Page p{w.buildPage()};
    // A start that differs from every value the actions set.
    w.setStoredImage(put(w.storedImage(), {{14, 2}, {5, 1}, {12, 0}, {13, 3}, {10, 0}, {9, 0}, {7, 1}, {63, 2}, {66, 1}}));
    w.fillFromMouse();
    const QByteArray before = w.storedImage();
    const int writes = w.writes();
    const QStringList parts = action.split(QLatin1Char(' '));
    const int arg = parts.value(1).toInt();
    if (parts.at(0) == QLatin1String("mode")) {
        p.mode()->setCurrentIndex(arg);
    } else if (parts.at(0) == QLatin1String("lod")) {
        p.lod()->setCurrentIndex(p.lod()->findText(parts.at(1)));
    } else if (action == QLatin1String("performance")) {
        QTest::mouseClick(p.get<QCheckBox>("Performance"), Qt::LeftButton);
        QVERIFY(p.get("PerformanceOpen")->isEnabled());
    } else if (parts.at(0) == QLatin1String("time")) {
        p.get<QComboBox>("PerformanceOpen")->setCurrentIndex(arg);
    } else if (parts.at(0) == QLatin1String("effect")) {
        p.effectMode()->setCurrentIndex(arg);
    } else if (parts.at(0) == QLatin1String("speed")) {
        p.effectMode()->setCurrentIndex(2);
        p.speed()->setValue(arg);
    } else {
        QTest::mouseClick(p.switchButton(qPrintable(action)), Qt::LeftButton);
    }
    QByteArray expected = before;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        expected[uint8_t(bytes.at(i))] = bytes.at(i + 1);
    QCOMPARE(w.storedImage(), expected);
    QCOMPARE(w.writes(), writes + 1);
}

void SensorPageTest::brightnessDrag()
{
    World w(1);
    Page p{w.buildPage()};
    w.setStoredImage(put(w.storedImage(), {{63, 1}, {64, 60}, {66, 1}}));
    w.fillFromMouse();
    QCOMPARE(p.light()->value(), 3);
    auto* shown = p.get<QSpinBox>("LightSpinBox");
    const int writes = w.writes();
    QList<int> seen;
    p.light()->setSliderDown(true);
    for (int level = 4; level <= 7; ++level) {
        p.light()->setSliderPosition(level);
        seen << shown->value();
    }
    QCOMPARE(w.writes(), writes);
    p.light()->setSliderDown(false);  // released: the value is reported once
    QCOMPARE(seen, (QList<int>{4, 5, 6, 7}));
    QCOMPARE(w.writes(), writes + 1);
    QCOMPARE(uint8_t(w.storedImage().at(64)), uint8_t(180));
}

void SensorPageTest::nothingWrittenWithoutWriteEnabled()
{
    World w(1, 0);
    Page p{w.buildPage()};
    w.fillFromMouse();
    WriteEnabled = 0;
    const int writes = w.writes();
    QTest::mouseClick(p.rate(1), Qt::LeftButton);
    QVERIFY(p.rate(1)->isChecked());
    QTest::mouseClick(p.switchButton("RippeControl_2"), Qt::LeftButton);
    QTest::mouseClick(p.get<QCheckBox>("Performance"), Qt::LeftButton);
    p.mode()->setCurrentIndex(1);
    p.lod()->setCurrentIndex(1);
    p.effectMode()->setCurrentIndex(0);
    p.get<QComboBox>("PerformanceOpen")->setCurrentIndex(4);
    QCOMPARE(w.writes(), writes);
    QCOMPARE(w.offline->count(), 0);
}

// Offline, each control gives one notice and shows the mouse's value again.
void SensorPageTest::offlineActionsGiveOneNoticeEach()
{
    World w(1, 0);
    Page p{w.buildPage()};
    w.fillFromMouse();
    w.setOnline(false);
    const int writes = w.writes();
    // The user opens a list and takes an entry.
    const auto pick = [](QComboBox* combo, int row) {
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(row, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    };
    auto* performanceTime = p.get<QComboBox>("PerformanceOpen");
    performanceTime->setEnabled(true);
    const std::vector<std::pair<std::function<void()>, std::function<int()>>> actions = {
        {[&] { QTest::mouseClick(p.rate(1), Qt::LeftButton); }, [&] { return p.checkedRate(); }},
        {[&] { QTest::mouseClick(p.switchButton("StraightLine_2"), Qt::LeftButton); },
         [&] { return int(p.switchButton("StraightLine_2")->isChecked()); }},
        {[&] { QTest::mouseClick(p.get<QCheckBox>("Performance"), Qt::LeftButton); },
         [&] { return int(p.get<QCheckBox>("Performance")->isChecked()); }},
        {[&] { pick(p.mode(), 1); }, [&] { return p.mode()->currentIndex(); }},
        {[&] { pick(p.lod(), 1); }, [&] { return p.lod()->currentIndex(); }},
        {[&] { pick(p.effectMode(), 0); }, [&] { return p.effectMode()->currentIndex(); }},
        {[&] { pick(performanceTime, 4); }, [&] { return performanceTime->currentIndex(); }},
    };
    for (size_t i = 0; i < actions.size(); ++i) {
        const int shown = actions[i].second();
        actions[i].first();
        QCOMPARE(w.offline->count(), int(i) + 1);
        QCOMPARE(actions[i].second(), shown);
    }
    QCOMPARE(w.writes(), writes);
}

void SensorPageTest::fillsAndReportsWriteNothing()
{
    World w(1, 1);
    Page p{w.buildPage()};
    const QByteArray stored = put(w.storedImage(), {{64, 100}, {0, 0x10}, {14, 1}});
    w.setStoredImage(stored);
    const int writes = w.writes();
    const FlashDataMap image = imageOf(stored);
    w.fillFromMouse();                                // a full read
    w.page->SlotUpDataSenSorUISensor(image);          // the cache file, mouse online
    PostMsg::instance()->SendUpDataSensorUIB(image);  // a profile import
    w.page->SlotFormReset();
    w.page->SlotUpDataReportRate(0x01);
    w.page->SlotUpDataReportRate(0x20);
    w.page->SlotUpDataDPI(2);
    w.page->SlotUpDataDPILed(imageOf(put(stored, {{66, 0}, {65, 5}})));
    w.page->SlotUpDataDPILed(image);
    QCOMPARE(w.writes(), writes);
    QCOMPARE(w.offline->count(), 0);
    QCOMPARE(uint8_t(w.storedImage().at(64)), uint8_t(100));
    QCOMPARE(p.light()->value(), 10);
    QCOMPARE(p.checkedRate(), 5);
    QCOMPARE(p.mode()->currentIndex(), 2);
    QCOMPARE(SensorPageBusy.load(), uint8_t(0));
}

void SensorPageTest::textsFollowTheLanguage()
{
    World w(1);
    Page p{w.buildPage()};
    PostMsg::instance()->SendChangeLanguage(0);
    const QString english = p.get<QLabel>("label_11")->text();
    const QString englishLod = p.get<SensorLOD>("frameLOD")->findChild<QLabel*>("label")->text();
    PostMsg::instance()->SendChangeLanguage(5);
    QVERIFY(p.get<QLabel>("label_11")->text() != english);
    QVERIFY(!p.get<QLabel>("label_11")->toolTip().isEmpty());
    QVERIFY(p.get<SensorLOD>("frameLOD")->findChild<QLabel*>("label")->text() != englishLod);
    PostMsg::instance()->SendChangeLanguage(0);
    QCOMPARE(p.get<QLabel>("label_11")->text(), english);
    QCOMPARE(p.get<QComboBox>("PerformanceOpen")->itemText(0), QStringLiteral("30 s"));
    QCOMPARE(p.effectMode()->itemText(2), QStringLiteral("Breathing"));
    QCOMPARE(p.mode()->itemText(2), QStringLiteral("Corded"));
}

QTEST_MAIN(SensorPageTest)
#include "tst_sensor_page.moc"
