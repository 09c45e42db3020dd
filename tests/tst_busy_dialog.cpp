// The busy and apply dialog: profile files, imports, and the end of a load.
#include "ShellTestSupport.h"

#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "device/ProfileFile.h"
#include "common/ProgramWaits.h"
#include "shell/EventWait.h"
#include "shell/UpDataParam.h"
#include "support/HidSimScript.h"
#include "support/ModalAnswerer.h"

#include "HIDUsbControl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace shelltest;

class BusyDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsProfileFiles_data();
    void readsProfileFiles();
    void oversizedImageBlockIsCut();
    void longSensorNameReadsItsOwnFiles();
    void acceptedImportSendsImageAndFillsPages();
    void refusedImportShowsNoticeAndSendsNothing_data();
    void refusedImportShowsNoticeAndSendsNothing();
    void finishedLoadClearsTheReadyFlags();
    void finishedLoadWithSilentPagesShowsTimeout();
    void unfinishedLoadFillsPagesFromCache();
    void labelTextFollowsImport();
    void loadWaitsTheRealDurations();
    void waitsEndWithTheApplication();

private:
    QString profilePath(const QByteArray& bytes);

    std::unique_ptr<TestEnv> m_env;
    SimScript::Device m_mouse;
};

void BusyDialogTest::init()
{
    m_env = std::make_unique<TestEnv>();
    prepare(*m_env);
    m_mouse = SimScript::addCableMouse(1);
    DeviceAllInfo record;
    record.modelIndex = 0;
    record.online = 1;
    record.cableFlag = 1;
    makeCurrent(m_mouse.path, record);
    UsbServerC_Start(m_mouse.path.constData(), m_mouse.path.constData(), SimScript::DataRecorder::callback());
    ImportRunning = 0;
    ImportResult = 0;
    LoadFinished = 0;
    MouseOnline = 0;
    LightPageReady = SensorPageReady = ButtonPageReady = 0;
}

void BusyDialogTest::cleanup()
{
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    m_env.reset();
}

QString BusyDialogTest::profilePath(const QByteArray& bytes)
{
    const QString path = m_env->home() + QStringLiteral("/profile.bin");
    writeFile(path, bytes);
    return path;
}

void BusyDialogTest::readsProfileFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("result");
    const QByteArray image = imageBytes(makeImage(3, 3));
    const QByteArray atLimit = imageBytes(makeImage(3, DpiMaxGrade));
    const QByteArray aboveLimit = imageBytes(makeImage(3, DpiMaxGrade + 1));
    const QByteArray good = profileBytes(padded("Trelm"), padded(SensorName), image);

    QTest::newRow("accepted") << good << 0;
    QTest::newRow("levels at the model's limit") << profileBytes(padded("Trelm"), padded(SensorName), atLimit) << 0;
    QTest::newRow("tag without padding") << profileBytes("Trelm", padded(SensorName), image) << 0;
    QTest::newRow("bytes after the image are ignored") << good + QByteArray(100, 'x') << 0;
    QTest::newRow("too many DPI levels") << profileBytes(padded("Trelm"), padded(SensorName), aboveLimit) << 2;
    QTest::newRow("another sensor") << profileBytes(padded("Trelm"), padded("PMW3389"), image) << 2;
    QTest::newRow("another maker") << profileBytes(padded("Other"), padded(SensorName), image) << 1;
    QTest::newRow("empty file") << QByteArray() << 1;
    QTest::newRow("image block cut short") << good.left(good.size() - 1) << 1;
    QTest::newRow("image block shorter than an image")
        << profileBytes(padded("Trelm"), padded(SensorName), image.left(100)) << 1;
    QTest::newRow("file ends in the sensor block") << good.left(24) << 1;
    QTest::newRow("length beyond the file") << QByteArray::fromHex("00000005") + "Trelm" + QByteArray::fromHex("7fffffff")
                                            << 1;
    QTest::newRow("oversized file") << good + QByteArray(int(ProfileFile::MaxFileSize), '\0') << 1;
    FlashDataMap damaged = makeImage(3, 0);
    QTest::newRow("no DPI level in use") << goodProfile(damaged) << 1;
    damaged = makeImage(3, 3);
    damaged.currentDpiLevel = 3;
    QTest::newRow("current level past the last") << goodProfile(damaged) << 1;
    damaged.currentDpiLevel = 2;
    QTest::newRow("current level the last") << goodProfile(damaged) << 0;
    QTest::newRow("damaged image of another sensor")
        << profileBytes(padded("Trelm"), padded("PMW3389"), imageBytes(makeImage(3, 0))) << 1;
    QTest::newRow("sensor with a longer name") << profileBytes(padded("Trelm"), padded("PAW3395X"), image) << 2;
}

void BusyDialogTest::readsProfileFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(int, result);
    FlashDataMap out = makeImage(99);
    QCOMPARE(UpDataParam::LoadProfileFile(profilePath(file), &out), result);
    if (result == 0)  // every accepted row carries the image of seed 3 (bytes 1 and 2 may differ)
        QCOMPARE(imageBytes(out).mid(3), imageBytes(makeImage(3)).mid(3));

    QCOMPARE(UpDataParam::LoadProfileFile(m_env->home() + QStringLiteral("/missing.bin"), &out), 1);
}

void BusyDialogTest::oversizedImageBlockIsCut()
{
    const QByteArray image = imageBytes(makeImage(5));
    FlashDataMap out{};
    const QString path = profilePath(profileBytes(padded("Trelm"), padded(SensorName), image + QByteArray(500, '\x55')));
    QCOMPARE(UpDataParam::LoadProfileFile(path, &out), 0);
    QCOMPARE(imageBytes(out), image);
}

// A model whose sensor name is longer than the file's field: its files hold the first 12
// bytes, and the import accepts them for that model only.
void BusyDialogTest::longSensorNameReadsItsOwnFiles()
{
    writeCatalogue(*m_env, 1, QStringLiteral("PAW3395-WIDE"));
    const QString path = m_env->home() + QStringLiteral("/long.bin");
    QVERIFY(ProfileFile::write(path, QStringLiteral("PAW3395-WIDE"), makeImage(4)));
    FlashDataMap out{};
    QCOMPARE(UpDataParam::LoadProfileFile(path, &out), 0);
    QCOMPARE(imageBytes(out), imageBytes(makeImage(4)));

    writeCatalogue(*m_env, 1, QStringLiteral("PAW3395-WIDER"));
    QVERIFY(ProfileFile::write(path, QStringLiteral("PAW3395-WIDER"), makeImage(4)));
    QCOMPARE(UpDataParam::LoadProfileFile(path, &out), 0);

    writeCatalogue(*m_env, 1, QStringLiteral("PAW3395"));
    QCOMPARE(UpDataParam::LoadProfileFile(path, &out), 2);
}

void BusyDialogTest::acceptedImportSendsImageAndFillsPages()
{
    const FlashDataMap image = makeImage(7);
    ShellSignals hub;
    UpDataParam dialog;
    dialog.ImportMode = 1;
    dialog.FilePath = profilePath(goodProfile(image));
    QElapsedTimer clock;
    clock.start();
    dialog.onTimeupDestroy();

    QVERIFY2(clock.elapsed() >= ProgramWaits::scaled(5 * UpDataParam::WaitSliceMs) - 100 * ProgramWaits::waitScale(),
             "the dialog stays up 2.5 s after an accepted import");
    QCOMPARE(ImportResult.load(), 0);
    QCOMPARE(dialog.ImportMode, uint8_t(0));
    QCOMPARE(hub.events, (QStringList{"Setver(4)", "LightUIA", "SensorUIB", "ButtonUIC", "FormB"}));
    for (const QByteArray& sent : hub.images)
        QCOMPARE(sent, imageBytes(image));
    const QByteArray written = SimScript::lastWrittenImage(m_mouse.mouse);
    QCOMPARE(written.size(), HIDUSB_IMAGE_SIZE);
    QCOMPARE(written, imageBytes(image));
    QCOMPARE(imageBytes(WorkingImageCopy()), imageBytes(image));
    QVERIFY(WorkingImageLoaded());
    QVERIFY2(QDir(DeviceCacheFolder()).entryList(QDir::Files).isEmpty(), "an import writes no cache file");
}

void BusyDialogTest::refusedImportShowsNoticeAndSendsNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("notice");
    const QByteArray image = imageBytes(makeImage(3));
    const QByteArray good = profileBytes(padded("Trelm"), padded(SensorName), image);
    QTest::newRow("maker tag") << profileBytes(padded("Other"), padded(SensorName), image) << "Unreadable profile";
    QTest::newRow("sensor") << profileBytes(padded("Trelm"), padded("PMW3389"), image) << "Profile for another mouse";
    QTest::newRow("DPI levels") << profileBytes(padded("Trelm"), padded(SensorName),
                                                imageBytes(makeImage(3, DpiMaxGrade + 3)))
                                << "Profile for another mouse";
    QTest::newRow("truncated") << good.left(5000) << "Unreadable profile";
    QTest::newRow("oversized") << good + QByteArray(int(ProfileFile::MaxFileSize), '\0') << "Unreadable profile";
}

void BusyDialogTest::refusedImportShowsNoticeAndSendsNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, notice);
    const FlashDataMap before = makeImage(42);
    SetWorkingImage(before);
    ShellSignals hub;
    ModalAnswerer answerer;
    QString shown;
    answerer.on(QStringLiteral("InportFail"), [&shown](QWidget* modal) {
        shown = modal->findChild<QLabel*>(QStringLiteral("label"))->text();
        ModalAnswerer::clickButton(QStringLiteral("NewHong"))(modal);
    });
    UpDataParam dialog;
    dialog.ImportMode = 1;
    dialog.FilePath = profilePath(file);
    dialog.onTimeupDestroy();

    QCOMPARE(answerer.handled(), QStringList{"InportFail"});
    QCOMPARE(shown, notice);
    QCOMPARE(dialog.ImportMode, uint8_t(0));
    QCOMPARE(hub.events, QStringList{"Setver(4)"});
    QCOMPARE(HidSim_WriteCount(m_mouse.mouse), 0);
    QCOMPARE(imageBytes(WorkingImageCopy()), imageBytes(before));
}

// The cache file follows the load itself, not the dialog that waited for it.
void BusyDialogTest::finishedLoadClearsTheReadyFlags()
{
    SetWorkingImage(makeImage(11));
    SetWorkingImageLoaded(true);
    const QString name = DeviceCacheFileName(10, 1);
    SetChosenCacheName(name);
    SetLoadedCacheName(name);
    LoadFinished = 1;
    MouseOnline = 1;
    LightPageReady = SensorPageReady = ButtonPageReady = 1;

    ShellSignals hub;
    UpDataParam dialog;
    dialog.onTimeupDestroy();
    QCOMPARE(hub.events, QStringList{"Setver(4)"});
    QCOMPARE(int(LightPageReady) + int(SensorPageReady) + int(ButtonPageReady), 0);
    QVERIFY(QDir(DeviceCacheFolder()).entryList(QDir::Files).isEmpty());
}

void BusyDialogTest::finishedLoadWithSilentPagesShowsTimeout()
{
    SetChosenCacheName(DeviceCacheFileName(10, 1));
    SetLoadedCacheName(DeviceCacheFileName(10, 1));
    LoadFinished = 1;
    MouseOnline = 1;
    LightPageReady = 1;
    SensorPageReady = 1;  // the button page never reports

    ShellSignals hub;
    UpDataParam dialog;
    QElapsedTimer clock;
    clock.start();
    dialog.onTimeupDestroy();
    QVERIFY(clock.elapsed() >= UpDataParam::ReadyChecks * ProgramWaits::scaled(UpDataParam::WaitSliceMs) - 100 * ProgramWaits::waitScale());
    QCOMPARE(hub.events, (QStringList{"Setver(4)", "MouseOffLineo(1)"}));
    QVERIFY2(QDir(DeviceCacheFolder()).entryList(QDir::Files).isEmpty(),
             "no image was loaded, so no cache file is made from it");
}

void BusyDialogTest::unfinishedLoadFillsPagesFromCache()
{
    const FlashDataMap cachedImage = makeImage(21);
    const QString name = DeviceCacheFileName(10, 1);
    QVERIFY(WriteDeviceInfoFile(name, cachedImage));
    SetChosenCacheName(name);
    LoadFinished = 0;

    ShellSignals hub;
    UpDataParam dialog;
    dialog.onTimeupDestroy();
    QCOMPARE(hub.events,
             (QStringList{"Setver(4)", "LightUIA", "SensorUIB", "ButtonUIC", "FormB", "MouseOffLineo(0)"}));
    for (const QByteArray& sent : hub.images)
        QCOMPARE(sent, imageBytes(cachedImage));

    // Without a cache file the pages stay as they are; the notice opens all the same.
    SetChosenCacheName(DeviceCacheFileName(10, 2));
    hub.events.clear();
    dialog.onTimeupDestroy();
    QCOMPARE(hub.events, (QStringList{"Setver(4)", "MouseOffLineo(0)"}));
}

void BusyDialogTest::labelTextFollowsImport()
{
    {
        UpDataParam frameInstance;
        QCOMPARE(frameInstance.findChild<QLabel*>(QStringLiteral("label"))->text(), QStringLiteral("Waiting text"));
    }
    ImportRunning = 1;
    UpDataParam importInstance;
    QCOMPARE(importInstance.findChild<QLabel*>(QStringLiteral("label"))->text(), QStringLiteral("Importing text"));
    ImportRunning = 0;
}

// The one test on the real durations (the suite scales the waits down): a load's busy dialog
// stays 4.5 s, then checks the pages every 0.5 s until they have all reported, and closes.
void BusyDialogTest::loadWaitsTheRealDurations()
{
    const double scale = ProgramWaits::waitScale();
    ProgramWaits::setWaitScale(1);
    SetWorkingImage(makeImage(13));
    SetWorkingImageLoaded(true);
    SetChosenCacheName(DeviceCacheFileName(10, 1));
    SetLoadedCacheName(DeviceCacheFileName(10, 1));
    LoadFinished = 1;
    MouseOnline = 1;
    LightPageReady = SensorPageReady = 1;
    ButtonPageReady = 0;  // reports during the first check's wait

    ShellSignals hub;
    UpDataParam dialog;
    QTimer::singleShot(UpDataParam::StartDelayMs + UpDataParam::WaitSliceMs / 2, [] { ButtonPageReady = 1; });
    QElapsedTimer clock;
    clock.start();
    dialog.StartTimer();
    dialog.exec();
    const qint64 took = clock.elapsed();
    ProgramWaits::setWaitScale(scale);
    // At least the start delay; one check's wait more unless a busy machine ran the timer late.
    QVERIFY2(took >= UpDataParam::StartDelayMs - 20, qPrintable(QString::number(took)));
    QVERIFY2(took < UpDataParam::StartDelayMs + 4 * UpDataParam::WaitSliceMs + 3000, qPrintable(QString::number(took)));
    QCOMPARE(hub.events, QStringList{"Setver(4)"});
}

// A quit (the application's exit) while the busy dialog waits for the pages: its wait ends with
// the main loop, and so does every later wait of the same run, which no loop would serve any
// more. The waits are long; the guard only tells a hang.
void BusyDialogTest::waitsEndWithTheApplication()
{
    constexpr int LongWaitMs = 60000;
    int waitsEnded = 0;
    QTimer::singleShot(0, [&waitsEnded] {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        WaitProcessingEvents(LongWaitMs);
        ++waitsEnded;
        WaitProcessingEvents(LongWaitMs);
        ++waitsEnded;
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(waitsEnded, 2);
    QVERIFY2(clock.elapsed() < LongWaitMs / 2, "a wait went on after the exit");
}

QTEST_MAIN(BusyDialogTest)
#include "tst_busy_dialog.moc"
