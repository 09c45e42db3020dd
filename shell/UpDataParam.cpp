#include "shell/UpDataParam.h"

#include "ui_UpDataParam.h"

#include "common/TraceLog.h"
#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "dialogs/InportFail.h"
#include "shell/EventWait.h"
#include "device/ProfileFile.h"

#include "HIDUsb.h"

#include <QDebug>
#include <QEventLoop>
#include <QTimer>

UpDataParam::UpDataParam(QWidget* parent)
    : OwnedDialog(parent)
    , ui(new Ui::UpDataParam)
{
    ui->setupUi(this);
    connect(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));

    m_pictureDir = pictureFolder(QStringLiteral("WarningDialog"));
    setWindowFlags(dialogWindowFlags());
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);

    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    keepTextOffDialogEdges(ui->label, width());
    ui->UpDataParamA->setStyleSheet(backgroundStyle(QStringLiteral("UpDataParamA"), m_pictureDir));
    connect(m_timer, &QTimer::timeout, this, &UpDataParam::onTimeupDestroy);

    SlotChangeLanguage(currentLanguageIndex());
}

UpDataParam::~UpDataParam()
{
    delete ui;
}

void UpDataParam::StartTimer()
{
    m_timer->start(ProgramWaits::scaled(StartDelayMs));
}

void UpDataParam::StopTimer()
{
    m_timer->stop();
}

void UpDataParam::SlotChangeLanguage(int index)
{
    // The import's own instance shows the import text, the frame's the wait text.
    loadLanguageSection(index, QStringLiteral("UpDataParam"), {QStringLiteral("label"), QStringLiteral("label_1")},
                        [this](const QString& element, const QString& text) {
                            const bool importing = ImportRunning == 1;
                            if ((element == QLatin1String("label") && !importing)
                                || (element == QLatin1String("label_1") && importing))
                                ui->label->setText(text);
                        });
}

int UpDataParam::LoadProfileFile(QString FileName, FlashDataMap* out)
{
    const QString group = CatalogueModelGroup(CurrentDeviceRecord().modelIndex);
    const QString sensor = UserConfig::instance()->value(group, QStringLiteral("Sensor"));
    const int maxGrade = UserConfig::instance()->value(group, QStringLiteral("DPIMaxGrade")).toInt();
    return ProfileFile::read(FileName, sensor, maxGrade, out);
}

void UpDataParam::onTimeupDestroy()
{
    PostMsg::instance()->SendSetver(4);
    if (WaitMode == 1) {
        runWaitMode();
        return;
    }
    qCDebug(kavroTrace) << "z";
    if (ImportMode == 1) {
        runImport();
        return;
    }
    if (LoadFinished == 1)
        finishLoad();
    else
        fillPagesFromCache();
}

bool UpDataParam::waitForPages(bool clearFlags)
{
    for (int pass = 0; pass < ReadyChecks; ++pass) {
        if (LightPageReady == 1 && SensorPageReady == 1 && ButtonPageReady == 1) {
            if (clearFlags) {
                LightPageReady = 0;
                SensorPageReady = 0;
                ButtonPageReady = 0;
            }
            return true;
        }
        WaitProcessingEvents(ProgramWaits::scaled(WaitSliceMs));
    }
    return false;
}

void UpDataParam::runWaitMode()
{
    const bool ready = waitForPages(false);
    // Gives the mouse time to settle after its own change before the user goes on. The
    // window keeps painting meanwhile (a sleep froze it for two seconds) but takes no input.
    QEventLoop hold;
    QTimer::singleShot(ProgramWaits::scaled(WaitModeHoldMs), &hold, &QEventLoop::quit);
    hold.exec(QEventLoop::ExcludeUserInputEvents);
    close();
    if (!ready)
        PostMsg::instance()->SendMouseOffLineo(0);
}

void UpDataParam::runImport()
{
    FlashDataMap image{};
    const int result = LoadProfileFile(FilePath, &image);
    ImportResult = result;
    if (result == ProfileFile::Accepted && !UsbFinderC_GetDeviceOnLine(CurrentDevicePath().constData())) {
        // The mouse went away while the file was chosen: it gets nothing, so the pages must
        // not show the file as its configuration.
        ImportMode = 0;
        close();
        PostMsg::instance()->SendMouseOffLineo(0);
        return;
    }
    if (result == ProfileFile::Accepted) {
        LoadWorkingImage(image);
        FlashDataMap sent = image;
        SendImageToMouse(&sent);
        PostMsg* hub = PostMsg::instance();
        hub->SendUpDataLightUIA(image);
        hub->SendUpDataSensorUIB(image);
        hub->SendUpDataButtonUIC(image);
        hub->SendFormB();
        WaitProcessingEvents(ProgramWaits::scaled(5 * WaitSliceMs));
    } else {
        InportFail notice;
        placeCentred(&notice, this);
        notice.exec();
    }
    ImportMode = 0;
    close();
}

void UpDataParam::finishLoad()
{
    qCDebug(kavroTrace) << "v";
    const bool ready = waitForPages(true);
    close();
    qCDebug(kavroTrace) << "vvv";
    if (!ready)
        PostMsg::instance()->SendMouseOffLineo(1);
    qCDebug(kavroTrace) << "vv";
    // The cache file follows the load itself (CacheFollowsMouse).
}

void UpDataParam::fillPagesFromCache()
{
    qCDebug(kavroTrace) << "x";
    FlashDataMap cached{};
    if (ReadDeviceInfoFile(ChosenCacheName(), &cached)) {
        const CacheFill fill;
        PostMsg* hub = PostMsg::instance();
        hub->SendUpDataLightUIA(cached);
        hub->SendUpDataSensorUIB(cached);
        hub->SendUpDataButtonUIC(cached);
        hub->SendFormB();
    }
    PostMsg::instance()->SendMouseOffLineo(0);
    close();
}
