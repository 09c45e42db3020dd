#include "pages/sensor/Sensor.h"

#include "ui_Sensor.h"

#include "common/AppPaths.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/DpiCodes.h"
#include "device/SensorHeader.h"
#include "device/SharedFlags.h"
#include "pages/sensor/SensorDPI.h"

#include <QDir>
#include <QFile>

namespace {

QString modelGroup()
{
    return CatalogueModelGroup(CurrentDeviceRecord().modelIndex);
}

QString hexColour(const DpiLevelRecord& r)
{
    return QStringLiteral("#%1%2%3")
        .arg(r.red, 2, 16, QLatin1Char('0'))
        .arg(r.green, 2, 16, QLatin1Char('0'))
        .arg(r.blue, 2, 16, QLatin1Char('0'));
}

// Factory look of the DPI panel by model id, for a mouse with neither image nor cache file.
struct DpiResetRow {
    QList<int> models;
    int sliderMaximum;
    int markerLevel;  // counted from 1
    int checkedLevel;
    int value;
};
const DpiResetRow DpiResetRows[] = {
    {{0, 1}, 26000, 3, 2, 1600},
    {{6, 10, 13}, 12000, 2, 1, 800},
    {{4, 5, 14, 15, 19}, 30000, 2, 1, 800},
    {{20}, 26000, 2, 1, 800},
};

const DpiResetRow* dpiResetRow(int modelId)
{
    for (const DpiResetRow& row : DpiResetRows) {
        if (row.models.contains(modelId))
            return &row;
    }
    return nullptr;
}

// Sets a flag for the length of a scope and clears it afterwards.
class BusyScope {
public:
    explicit BusyScope(std::atomic<uint8_t>& flag)
        : m_flag(flag)
    {
        m_flag = 1;
    }
    ~BusyScope() { m_flag = 0; }

private:
    std::atomic<uint8_t>& m_flag;
};

}  // namespace

Sensor::Sensor(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Sensor)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    m_pageDir = AppPaths::userDataDir() + QStringLiteral("/usersetting/SensorPage");

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    QDir().mkpath(m_pageDir);
    ReadLevelFile();
    LoadSensorHeader();

    ui->SenSorPage->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical{width:13px;background:rgb(30,30,30);border:0px;}"
        "QScrollBar::handle:vertical{background:rgb(117,117,117);border-radius:3px;min-height:30px;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{background:transparent;height:0px;}"
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:transparent;}"));
    ui->TitleButton->setStyleSheet(QStringLiteral("#TitleButton{border-image: ") +
                                   styleSheetUrl(m_pictureDir + QStringLiteral("Title.png")) + QStringLiteral(";}"));

    SlotChangeLanguage(currentLanguageIndex());

    PostMsg::connectBlocking(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                             SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
    PostMsg::connectBlocking(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)));
    connect(hub, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
}

Sensor::~Sensor()
{
    delete ui;
}

SensorDPI* Sensor::dpiPanel() const
{
    return ui->frameDpi;
}

void Sensor::ReadLevelFile()
{
    QFile file(m_pageDir + QStringLiteral("/Level.ini"));
    int count = 1;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString line = QString::fromUtf8(file.readLine(64)).trimmed();
        if (!line.isEmpty()) {
            bool ok = false;
            count = line.toInt(&ok, 10);
            if (!ok)
                count = 0;
        }
    }
    ui->frameDpi->SetLevelCount(count);
}

void Sensor::SlotChangeLanguage(int index)
{
    loadLanguageSection(index, QStringLiteral("Sensor"), {QStringLiteral("label_2")},
                        [this](const QString& element, const QString& text) {
                            if (element == QLatin1String("label_2"))
                                ui->frameDpi->SetLabelText(text);
                        });
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    SensorPageReady = 0;
    fill(DataMap);
    SensorPageReady = 1;
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    fill(DataMap);
}

void Sensor::fill(const FlashDataMap& image)
{
    SensorDPI* dpi = ui->frameDpi;
    dpi->ClearChooseEvent();
    dpi->BlockSlider(true);
    dpi->SetSliderEnabled(true);
    {
        BusyScope busy(SensorPageBusy);
        dpi->SetLevelCount(image.dpiLevelCount);
        dpi->SetCurrentLevel(image.currentDpiLevel);
        CurrentSensorName = UserConfig::instance()->value(modelGroup(), QStringLiteral("Sensor"));
        fillDpiLevels(image);
        dpi->BlockSlider(false);
    }
}

void Sensor::fillDpiLevels(const FlashDataMap& image)
{
    SensorDPI* dpi = ui->frameDpi;
    const int levels = image.dpiLevelCount;
    const int current = image.currentDpiLevel;
    // The image holds eight level records; a larger "DPIMaxGrade" lists no more than those.
    const int maxGrade = qBound(0, UserConfig::instance()->value(modelGroup(), QStringLiteral("DPIMaxGrade")).toInt(),
                                int(SensorDPI::LevelCount));
    dpi->BlockChooseEvent(true);
    for (int i = 0; i < maxGrade; ++i) {
        dpi->SetLevelColor(i, hexColour(image.dpiLevels[i]));
        dpi->AddChooseEventItem(i, QString::number(i + 1));
    }
    dpi->BlockChooseEvent(false);
    dpi->HighlightLevelSwatch(current);

    LoadDpiRanges();
    if (DpiRangeTable.count >= 1 && DpiRangeTable.count <= 4) {
        dpi->SetSliderMaximum(DpiRangeTable.highest.toInt());
        dpi->SetSliderMinimum(DpiRangeTable.lowest.toInt());
    }
    for (int i = 0; i < maxGrade; ++i) {
        const int value = DpiFromLevelRecord(image.dpiLevels[i].codeX, image.dpiLevels[i].flags);
        dpi->SetLevelText(i, QString::number(value));
        if (i == current) {
            dpi->SetSliderValue(value);
            dpi->SetSpinBoxValue(value);
        }
    }
    dpi->ShowLevels(levels - 1);
    dpi->SetChooseEventIndex(levels - 1);
    dpi->MoveMarkerToLevel(current + 1);
    dpi->SetCheckedLevel(current);
}

void Sensor::SlotFormReset()
{
    const DpiResetRow* row = dpiResetRow(ChosenModelId);
    if (!row)
        return;
    BusyScope busy(SensorPageBusy);
    SensorDPI* dpi = ui->frameDpi;
    dpi->SetSliderMaximum(row->sliderMaximum);
    dpi->SetSliderMinimum(50);
    dpi->LoadLevelsFromSettings();
    dpi->ClearChooseEvent();
    for (int i = 0; i < 6; ++i)
        dpi->AddChooseEventItem(i, QString::number(i + 1));
    dpi->ShowLevels(5);
    dpi->BlockChooseEvent(true);
    dpi->SetChooseEventIndex(5);
    dpi->BlockChooseEvent(false);
    dpi->SetLevelCount(6);
    dpi->MoveMarkerToLevel(row->markerLevel);
    dpi->SetCheckedLevel(row->checkedLevel);
    dpi->SetCurrentLevel(row->checkedLevel);
    dpi->SetSliderValue(row->value);
    dpi->SetSpinBoxValue(row->value);
}

void Sensor::SlotUpDataReportRate(int /*code*/)
{
}

void Sensor::SlotUpDataDPI(int level)
{
    SensorDPI* dpi = ui->frameDpi;
    WriteEnabled = 0;
    dpi->MoveMarkerToLevel(level + 1);
    if (level >= 0 && level < SensorDPI::LevelCount) {
        dpi->SetCheckedLevel(level);
        dpi->SetCurrentLevel(level);
    }
    WriteEnabled = 1;
}

void Sensor::SlotUpDataDPILed(FlashDataMap /*DataMap*/)
{
}

void Sensor::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
}
