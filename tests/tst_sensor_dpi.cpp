// The DPI level panel on the sensor page, driven as a user drives it, with every change
// checked as bytes in the simulated library's stored image and every fill as no write.
#include "SensorPageFixture.h"

#include "common/LanguageFile.h"
#include "device/DpiCodes.h"
#include "device/SensorHeader.h"


#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace sensortest;

namespace {

const char* const LevelButtons[8] = {"BlueButton",  "BrightRedButton", "RedButton",       "YellowButton",
                                     "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};

struct Panel {
    SensorDPI* dpi;
    explicit Panel(Sensor* page)
        : dpi(page->dpiPanel())
    {
    }
    QSlider* slider() const { return dpi->findChild<QSlider*>(QStringLiteral("horizontalSliderC")); }
    QSpinBox* spin() const { return dpi->findChild<QSpinBox*>(QStringLiteral("spinBoxA")); }
    QComboBox* count() const { return dpi->findChild<QComboBox*>(QStringLiteral("ChooseEvent")); }
    QLabel* marker() const { return dpi->findChild<QLabel*>(QStringLiteral("label_8")); }
    QToolButton* level(int i) const { return dpi->findChild<QToolButton*>(QLatin1String(LevelButtons[i])); }
    QToolButton* swatch(int i) const
    {
        return dpi->findChild<QToolButton*>(QLatin1String(LevelButtons[i]) + QLatin1Char('A'));
    }
    QToolButton* button(const char* name) const { return dpi->findChild<QToolButton*>(QLatin1String(name)); }
    QString text(int i) const { return level(i)->text(); }
    // The user drags the marker from its place and lets go at x.
    void dragMarkerTo(int x) const
    {
        const QPoint start = marker()->geometry().center();
        QMouseEvent press(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dpi, &press);
        const QPoint end(x, start.y());
        QMouseEvent move(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dpi, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dpi, &release);
    }
};

// Image bytes with `count` levels in use and `current` active; level values stay the mouse's.
QByteArray withLevels(QByteArray image, int count, int current)
{
    image[1] = char(count);
    image[2] = char(current);
    return image;
}

QByteArray record(const QByteArray& image, int level)
{
    return image.mid(15 + 6 * level, 6);
}

}  // namespace

class SensorDpiTest : public QObject {
    Q_OBJECT

private slots:
    void fillShowsTheMouseLevelsAndWritesNothing();
    void fillsResetAndLevelUpdatesWriteNothing();
    void sliderSnapsAndWrites_data();
    void sliderSnapsAndWrites();
    void stepButtons_data();
    void stepButtons();
    void levelClickWritesCurrentLevelOnly();
    void valueAfterASelectionIsWritten_data();
    void valueAfterASelectionIsWritten();
    void importOrResetOwningTheMouseWritesNoValue();
    void offlineActionsShowTheNotice();
    void colours();
    void colourDialogWritesTheCheckedLevel();
    void markerDrops_data();
    void markerDrops();
    void levelCountLowerSwapsTheActiveLevel();
    void levelCountRaiseAndBusy();
    void damagedDataIsContained();
    void resetRows_data();
    void resetRows();
    void captionFollowsLanguage();
};

void SensorDpiTest::fillShowsTheMouseLevelsAndWritesNothing()
{
    World w(1);
    w.setStoredImage(withLevels(w.storedImage(), 5, 2));
    Panel p(w.buildPage());
    const int before = w.writes();
    w.fillFromMouse();
    QCOMPARE(w.writes(), before);
    QCOMPARE(SensorPageReady.load(), uint8_t(1));
    QCOMPARE(SensorPageBusy.load(), uint8_t(0));

    const QStringList shown = {p.text(0), p.text(1), p.text(2), p.text(3), p.text(4)};
    QCOMPARE(shown, (QStringList{"400", "800", "1600", "3200", "6400"}));
    QCOMPARE(p.count()->count(), 8);
    QCOMPARE(p.count()->currentIndex(), 4);
    QCOMPARE(p.slider()->maximum(), 26000);
    QCOMPARE(p.slider()->minimum(), 50);
    QCOMPARE(p.slider()->value(), 1600);
    QCOMPARE(p.spin()->value(), 1600);
    QVERIFY(p.level(2)->isChecked());
    QVERIFY(p.swatch(2)->isChecked());
    QCOMPARE(p.marker()->pos(), QPoint(209, 154));
    QCOMPARE(p.dpi->currentLevel(), 2);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(p.level(i)->isVisibleTo(p.dpi), i < 5);
    // Colours of the mouse's records (factory: red, green, blue, yellow ...).
    QCOMPARE(p.dpi->levelColor(0), QStringLiteral("255,0,0"));
    QCOMPARE(p.dpi->levelColor(3), QStringLiteral("255,255,0"));
    QVERIFY(p.swatch(0)->styleSheet().contains(QStringLiteral("rgb(255,0,0)")));
    QVERIFY(p.swatch(2)->styleSheet().contains(QStringLiteral("MaxB.png")));
}

void SensorDpiTest::fillsResetAndLevelUpdatesWriteNothing()
{
    World w(1);
    Sensor* page = w.buildPage();
    const int before = w.writes();
    const FlashDataMap image = imageOf(w.storedImage());
    PostMsg* hub = PostMsg::instance();
    hub->SendUpDataSensorUIB(image);                // profile import
    page->SlotUpDataSenSorUISensor(image);          // cache or full read
    page->SlotFormReset();
    page->SlotUpDataDPI(3);
    page->SlotUpDataDPI(9);
    QCOMPARE(w.writes(), before);
    QCOMPARE(w.offline->count(), 0);
    QCOMPARE(WriteEnabled.load(), uint8_t(1));
    Panel p(page);
    QVERIFY(p.level(3)->isChecked());
    QCOMPARE(p.dpi->currentLevel(), 3);
    QCOMPARE(p.marker()->pos(), QPoint(300, 154));
}

void SensorDpiTest::sliderSnapsAndWrites_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("pageStep");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("777") << 777 << 750 << 50 << QByteArray::fromHex("0e0e00");
    QTest::newRow("gap") << 10050 << 10100 << 100 << QByteArray::fromHex("646422");
    QTest::newRow("second range") << 10149 << 10100 << 100 << QByteArray::fromHex("646422");
    QTest::newRow("top, 10 bits") << 26000 << 26000 << 100 << QByteArray::fromHex("030366");
}

void SensorDpiTest::sliderSnapsAndWrites()
{
    QFETCH(int, value);
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();  // level 1 active
    const int before = w.writes();
    p.slider()->setValue(value);
    QCOMPARE(w.writes(), before + 1);
    QTEST(p.text(1).toInt(), "shown");
    QTEST(p.spin()->value(), "shown");
    QTEST(p.slider()->pageStep(), "pageStep");
    QTEST(record(w.storedImage(), 1).left(3), "bytes");
}

void SensorDpiTest::stepButtons_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("newWrites");
    QTest::newRow("up across the gap") << 10000 << "AddLevelA" << 10100 << 1;
    QTest::newRow("down across the gap") << 10100 << "ReduceLevelA" << 10000 << 1;
    QTest::newRow("up at the top") << 26000 << "AddLevelA" << 26000 << 0;
    QTest::newRow("down in range") << 800 << "ReduceLevelA" << 750 << 1;
}

void SensorDpiTest::stepButtons()
{
    QFETCH(int, start);
    QFETCH(QString, button);
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();
    p.slider()->setValue(start);
    const int before = w.writes();
    p.button(qPrintable(button))->click();
    QTEST(p.slider()->value(), "result");
    QTEST(p.text(1).toInt(), "result");
    QTEST(w.writes() - before, "newWrites");
    QCOMPARE(DpiFromLevelRecord(uint8_t(record(w.storedImage(), 1).at(0)), uint8_t(record(w.storedImage(), 1).at(2))),
             p.slider()->value());
}

void SensorDpiTest::levelClickWritesCurrentLevelOnly()
{
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();
    const QByteArray before = w.storedImage();
    const int writes = w.writes();
    QTest::mouseClick(p.level(3), Qt::LeftButton);
    QCOMPARE(w.writes(), writes + 1);
    QByteArray expected = before;
    expected[2] = 3;
    QCOMPARE(w.storedImage(), expected);
    QCOMPARE(p.slider()->value(), 3200);
    QCOMPARE(p.spin()->value(), 3200);
    QCOMPARE(p.marker()->pos(), QPoint(300, 154));
    QVERIFY(p.swatch(3)->isChecked());
}

void SensorDpiTest::valueAfterASelectionIsWritten_data()
{
    QTest::addColumn<QString>("selection");
    QTest::newRow("level click") << "click";
    QTest::newRow("swatch click") << "swatch";
    QTest::newRow("fill") << "fill";
    QTest::newRow("same value as the slider") << "same";
    QTest::newRow("level reported by the mouse") << "report";
}

void SensorDpiTest::valueAfterASelectionIsWritten()
{
    QFETCH(QString, selection);
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();
    int level = 1;
    if (selection == QLatin1String("click")) {
        level = 4;
        QTest::mouseClick(p.level(level), Qt::LeftButton);
    } else if (selection == QLatin1String("swatch")) {
        level = 2;
        QTest::mouseClick(p.swatch(level), Qt::LeftButton);
        if (auto* dialog = p.dpi->findChild<QColorDialog*>())
            dialog->reject();
    } else if (selection == QLatin1String("same")) {
        // Level 0 takes level 1's value; level 1 is then chosen while the slider shows it.
        QTest::mouseClick(p.level(0), Qt::LeftButton);
        p.slider()->setValue(800);
        QTest::mouseClick(p.level(1), Qt::LeftButton);
        QCOMPARE(p.slider()->value(), 800);
    } else if (selection == QLatin1String("report")) {
        level = 5;
        w.page->SlotUpDataDPI(level);
    }
    const int before = w.writes();
    p.slider()->setValue(5000);
    QCOMPARE(w.writes(), before + 1);
    QCOMPARE(p.text(level), QStringLiteral("5000"));
    QCOMPARE(record(w.storedImage(), level).left(3), QByteArray::fromHex("636300"));
}

void SensorDpiTest::importOrResetOwningTheMouseWritesNoValue()
{
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();
    NoBusyDialog = 1;
    const int before = w.writes();
    p.slider()->setValue(2000);
    QCOMPARE(p.text(1), QStringLiteral("2000"));
    QCOMPARE(p.spin()->value(), 2000);
    QCOMPARE(w.writes(), before);
}

void SensorDpiTest::offlineActionsShowTheNotice()
{
    World w(1);
    Panel p(w.buildPage());
    w.fillFromMouse();
    const int before = w.writes();
    w.setOnline(false);

    const int shown = p.slider()->value();
    p.slider()->setValue(2000);
    QCOMPARE(w.offline->count(), 1);
    // Refused: the slider and the box show the level's value again.
    QCOMPARE(p.slider()->value(), shown);
    QCOMPARE(p.spin()->value(), shown);
    p.button("AddLevelA")->click();
    QCOMPARE(w.offline->count(), 2);
    p.button("ReduceLevelA")->click();
    QCOMPARE(w.offline->count(), 3);
    p.dpi->SelectLevel(3);
    QCOMPARE(w.offline->count(), 4);
    QVERIFY(!p.level(3)->isChecked());
    const int count = p.count()->currentIndex();
    p.count()->setCurrentIndex(6);  // more levels: only byte 1 would change
    QCOMPARE(w.offline->count(), 5);
    QCOMPARE(p.count()->currentIndex(), count);
    QVERIFY(!p.level(6)->isVisibleTo(p.dpi));

    // A level clicked and a colour chosen: one notice each, and the mouse's level and colour
    // show again once the click is over.
    const int current = p.dpi->currentLevel();
    const QString colour = p.dpi->levelColor(current);
    const QPoint marker = p.marker()->pos();
    p.level(current + 1)->click();
    QCOMPARE(w.offline->count(), 6);
    QTRY_VERIFY(p.level(current)->isChecked());
    QCOMPARE(p.dpi->currentLevel(), current);
    QCOMPARE(p.marker()->pos(), marker);
    p.dpi->SetColor(QColor(1, 2, 3));
    QCOMPARE(w.offline->count(), 7);
    QCOMPARE(p.dpi->levelColor(current), colour);
    QCOMPARE(w.writes(), before);
    QVERIFY(w.offline->at(0).at(0).toInt() == 0);
}

void SensorDpiTest::colours()
{
    World w(1);
    Panel p(w.buildPage());
    p.dpi->SetLevelColor(3, QStringLiteral("#0a0b0c"));
    QCOMPARE(p.dpi->levelColor(3), QStringLiteral("10,11,12"));
    p.dpi->SetLevelColor(8, QStringLiteral("#0a0b0c"));
    p.dpi->SetLevelColor(2, QStringLiteral("0a0b0c"));
    QCOMPARE(p.dpi->levelColor(2), QStringLiteral("0,255,0"));

    // No swatch checked yet: a chosen colour changes nothing.
    const int before = w.writes();
    p.dpi->SetColor(QColor(1, 2, 3));
    QCOMPARE(w.writes(), before);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!p.dpi->levelColor(i).startsWith(QStringLiteral("1,2,3")));
}

void SensorDpiTest::colourDialogWritesTheCheckedLevel()
{
    World w(1);
    Panel p(w.buildPage());
    w.page->show();
    w.fillFromMouse();
    const QByteArray before = w.storedImage();
    QTest::mouseClick(p.swatch(3), Qt::LeftButton);
    auto* dialog = p.dpi->findChild<QColorDialog*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->testOption(QColorDialog::DontUseNativeDialog));
    QCOMPARE(dialog->currentColor(), QColor(255, 255, 0));  // level 3's colour
    const int writes = w.writes();
    dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
    dialog->accept();
    QCOMPARE(w.writes(), writes + 1);
    QByteArray expected = before;
    expected[2] = 3;  // the swatch click made level 3 current
    expected.replace(15 + 18 + 3, 3, QByteArray::fromHex("123456"));
    QCOMPARE(w.storedImage(), expected);
    QCOMPARE(p.dpi->levelColor(3), QStringLiteral("18,52,86"));
    QVERIFY(p.swatch(3)->styleSheet().contains(QStringLiteral("rgb(18,52,86)")));

    // The swatch of the level already chosen opens the dialog as well.
    dialog->hide();
    QTest::mouseClick(p.swatch(3), Qt::LeftButton);
    QVERIFY(dialog->isVisible());
}

void SensorDpiTest::markerDrops_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("current");
    QTest::addColumn<QPoint>("marker");
    QTest::addColumn<int>("newWrites");
    QTest::newRow("three levels, next level") << 3 << 120 << 1 << QPoint(118, 154) << 1;
    QTest::newRow("three levels, between") << 3 << 100 << 0 << QPoint(27, 154) << 0;
    QTest::newRow("three levels, between bands") << 3 << 160 << 0 << QPoint(27, 154) << 0;
    QTest::newRow("three levels, third") << 3 << 200 << 2 << QPoint(209, 154) << 1;
    QTest::newRow("one level, beyond it") << 1 << 70 << 0 << QPoint(27, 154) << 1;
    QTest::newRow("left edge") << 3 << 10 << 0 << QPoint(27, 154) << 0;
}

void SensorDpiTest::markerDrops()
{
    QFETCH(int, levels);
    QFETCH(int, x);
    World w(1);
    w.setStoredImage(withLevels(w.storedImage(), levels, 0));
    Panel p(w.buildPage());
    w.fillFromMouse();
    QCOMPARE(p.marker()->pos(), QPoint(27, 154));
    const int before = w.writes();
    p.dragMarkerTo(x);
    QTEST(p.dpi->currentLevel(), "current");
    QTEST(p.marker()->pos(), "marker");
    QTEST(w.writes() - before, "newWrites");
    QTEST(int(w.storedImage().at(2)), "current");
    QFETCH(int, current);
    QVERIFY(p.level(current)->isChecked());
}

void SensorDpiTest::levelCountLowerSwapsTheActiveLevel()
{
    World w(1);
    w.setStoredImage(withLevels(w.storedImage(), 6, 5));
    Panel p(w.buildPage());
    w.fillFromMouse();
    const QByteArray before = w.storedImage();
    const QString text5 = p.text(5);
    const QString text2 = p.text(2);
    const QString colour5 = p.dpi->levelColor(5);
    const QString colour2 = p.dpi->levelColor(2);
    const int writes = w.writes();

    p.count()->setCurrentIndex(2);

    QCOMPARE(w.writes(), writes + 3);
    QCOMPARE(p.text(2), text5);
    QCOMPARE(p.text(5), text2);
    QCOMPARE(p.dpi->levelColor(2), colour5);
    QCOMPARE(p.dpi->levelColor(5), colour2);
    QCOMPARE(p.dpi->currentLevel(), 2);
    QCOMPARE(p.dpi->levelCount(), 3);
    QVERIFY(p.level(2)->isChecked());
    QCOMPARE(p.marker()->pos(), QPoint(209, 154));
    QCOMPARE(p.slider()->value(), text5.toInt());
    for (int i = 0; i < 8; ++i)
        QCOMPARE(p.level(i)->isVisibleTo(p.dpi), i < 3);

    QByteArray expected = before;
    expected[1] = 3;
    expected[2] = 2;
    expected.replace(15 + 6 * 2, 6, record(before, 5));
    expected.replace(15 + 6 * 5, 6, record(before, 2));
    QCOMPARE(w.storedImage(), expected);

    // The next value goes to the level now active.
    p.slider()->setValue(1000);
    QCOMPARE(record(w.storedImage(), 2).left(3), QByteArray::fromHex("131300"));
}

void SensorDpiTest::levelCountRaiseAndBusy()
{
    World w(1);
    w.setStoredImage(withLevels(w.storedImage(), 3, 1));
    Panel p(w.buildPage());
    w.fillFromMouse();
    QByteArray expected = w.storedImage();
    const int writes = w.writes();
    p.count()->setCurrentIndex(5);
    QCOMPARE(w.writes(), writes + 1);
    expected[1] = 6;
    QCOMPARE(w.storedImage(), expected);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(p.level(i)->isVisibleTo(p.dpi), i < 6);

    // While the page fills, a level count change does nothing.
    SensorPageBusy = 1;
    p.count()->setCurrentIndex(1);
    SensorPageBusy = 0;
    QCOMPARE(w.writes(), writes + 1);
    QVERIFY(p.level(5)->isVisibleTo(p.dpi));

    // Without the mouse's loaded image nothing is sent.
    ClearWorkingImage();
    p.count()->setCurrentIndex(4);
    QCOMPARE(w.writes(), writes + 1);
}

void SensorDpiTest::damagedDataIsContained()
{
    World w(1);
    const QByteArray shipped = "DPIMaxGrade=8\nDPIRange=50, 10000, 50, 10100, 26000, 100, 0x22";
    const QByteArray damaged = "DPIMaxGrade=10\nDPIRange=50, 10000, 0, 10100, 26000, 100, 0x22";
    editCatalogue(w.env, shipped, damaged);
    struct Restore {
        const TestEnv& env;
        QByteArray from, to;
        ~Restore() { editCatalogue(env, from, to); }
    } restore{w.env, damaged, shipped};
    QByteArray image = withLevels(w.storedImage(), 10, 9);
    w.setStoredImage(image);
    Panel p(w.buildPage());
    const int before = w.writes();
    w.fillFromMouse();
    QCOMPARE(p.count()->count(), 8);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!p.level(i)->isChecked());
    // No level is active: a level count change swaps nothing and writes byte 1 only.
    p.count()->setCurrentIndex(1);
    QCOMPARE(w.writes(), before + 1);
    QByteArray expected = image;
    expected[1] = 2;
    QCOMPARE(w.storedImage(), expected);
    // Range 1 has a zero step: its values stay as they are, nothing divides by zero.
    QTest::mouseClick(p.level(0), Qt::LeftButton);
    p.slider()->setValue(777);
    QCOMPARE(p.text(0), QStringLiteral("777"));
    p.button("AddLevelA")->click();
    QCOMPARE(p.slider()->value(), 777);
}

void SensorDpiTest::resetRows_data()
{
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("value");
    QTest::newRow("MID 1") << 1 << 26000 << 2 << 1600;
    QTest::newRow("MID 6") << 6 << 12000 << 1 << 800;
    QTest::newRow("MID 2 keeps the page") << 2 << 10000 << -1 << 50;
}

void SensorDpiTest::resetRows()
{
    QFETCH(int, mid);
    QFETCH(int, checked);
    World w(uint8_t(mid), 0);
    Panel p(w.buildPage());
    const int before = w.writes();
    w.page->SlotFormReset();
    QCOMPARE(w.writes(), before);
    QTEST(p.slider()->maximum(), "maximum");
    QTEST(p.slider()->value(), "value");
    if (checked < 0) {
        QCOMPARE(p.count()->count(), 0);
        return;
    }
    QVERIFY(p.level(checked)->isChecked());
    QCOMPARE(p.dpi->currentLevel(), checked);
    QCOMPARE(p.count()->count(), 6);
    QCOMPARE(p.count()->currentIndex(), 5);
    QFETCH(int, value);
    QCOMPARE(p.text(checked).toInt(), value);
    QCOMPARE(p.spin()->value(), value);
    // Catalogue defaults: level 0 of every shipped model starts at its first DPIGrade value.
    QVERIFY(!p.text(0).isEmpty());
    QVERIFY(p.swatch(0)->styleSheet().contains(QStringLiteral("rgb(255,255,0)")));
}

void SensorDpiTest::captionFollowsLanguage()
{
    World w(1);
    Panel p(w.buildPage());
    auto* caption = p.dpi->findChild<QLabel*>(QStringLiteral("label"));
    PostMsg::instance()->SendChangeLanguage(5);
    const QString japanese = caption->text();
    PostMsg::instance()->SendChangeLanguage(0);
    QCOMPARE(caption->text(), QStringLiteral("Levels"));
    QVERIFY(japanese != caption->text());
    QVERIFY(!japanese.isEmpty());
}

QTEST_MAIN(SensorDpiTest)
#include "tst_sensor_dpi.moc"
