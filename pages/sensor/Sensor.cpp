#include "pages/sensor/Sensor.h"

#include "ui_Sensor.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/DeviceSetters.h"
#include "device/DpiCodes.h"
#include "device/SensorHeader.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorEffect.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/SensorSwitch.h"

#include <QDir>
#include <QBuffer>
#include <QListView>

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

// Full-performance time: list index to image byte 13 (units of 10 s).
const uint8_t PerformanceTimes[6] = {3, 6, 12, 30, 60, 90};

// Maximum-rate mode of a connection kind; -1 leaves the rate panel as it is.
int maxRateMode(int kind)
{
    switch (kind) {
    case 0:
    case 2:
        return 0;
    case 1:
        return 1;
    case 4:
        return 2;
    case 3:
    case 5:
        return 3;
    default:
        return -1;
    }
}

bool isHighRate(int code)
{
    return code == 0x10 || code == 0x20 || code == 0x40;
}

// The sensor controls that a compact model ("XIn1" 2) does without.
const char* const SensorBlock[] = {"TitleButton_4", "label_5", "label_11", "ModelChoose", "frameLOD",
                                   "Performance", "PerformanceOpen", "frame", "frame_4", "frame_3"};

// Factory look of the page by model id, for a mouse with neither image nor cache file.
struct ResetRow {
    QList<int> models;
    int sliderMaximum;
    int markerLevel;  // counted from 1
    int checkedLevel;
    int value;
    int motionSyncShown;  // -1 left as it is
};
const ResetRow ResetRows[] = {
    {{0, 1}, 26000, 3, 2, 1600, -1},
    {{6, 10, 13}, 12000, 2, 1, 800, 0},
    {{4, 5, 14, 15, 19}, 30000, 2, 1, 800, 1},
    {{20}, 26000, 2, 1, 800, 1},
};

const ResetRow* resetRow(int modelId)
{
    for (const ResetRow& row : ResetRows) {
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
    connect(hub, SIGNAL(SigHideModel(int)), this, SLOT(SlotHideModel(int)));
    QDir().mkpath(m_pageDir);
    ReadLevelFile();

    const QString& p = m_pictureDir;
    for (MyConmboBox* combo : {ui->ModelChoose, ui->PerformanceOpen}) {
        QListView* view = combo->applySkin(p);
        combo->setStyleSheet(combo->styleSheet() + disabledComboTextStyle());
        if (combo == ui->ModelChoose)
            m_modelView = view;
    }
    ui->PerformanceOpen->setMaxVisibleItems(5);

    LoadSensorHeaderOnce();

    const QString label = labelColorStyle(skinColor(QStringLiteral("LabelColor")));
    ui->label_5->setStyleSheet(label);
    ui->label_11->setStyleSheet(label);
    ui->Performance->setStyleSheet(QStringLiteral("QCheckBox{color: rgb(") + skinColor(QStringLiteral("LabelColor")) +
                                   QStringLiteral(");}QCheckBox::indicator:checked {image: ") +
                                   styleSheetUrl(p + QStringLiteral("CheckBoxChecked.png")) +
                                   QStringLiteral(";}QCheckBox::indicator:unchecked {image: ") +
                                   styleSheetUrl(p + QStringLiteral("CheckBox.png")) + QStringLiteral(";}"));
    for (QToolButton* marker : {ui->TitleButton, ui->TitleButton_2, ui->TitleButton_3, ui->TitleButton_4})
        marker->setStyleSheet(QLatin1Char('#') + marker->objectName() + QStringLiteral("{border-image: ") +
                              styleSheetUrl(p + QStringLiteral("Title.png")) + QStringLiteral(";}"));
    // The panels are laid out on the page's own background: no frame lines around them.
    ui->SenSorPage->setStyleSheet(QStringLiteral(
        "QFrame{border:0px;}"
        "QScrollBar:vertical{width:13px;background:rgb(30,30,30);border:0px;}"
        "QScrollBar::handle:vertical{background:rgb(117,117,117);border-radius:3px;min-height:30px;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{background:transparent;height:0px;}"
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:transparent;}"));

    SlotChangeLanguage(currentLanguageIndex());

    PostMsg::connectBlocking(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                             SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
    PostMsg::connectBlocking(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)));
    connect(hub, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    connect(hub, SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    ui->TitleButton_3->hide();
    // Built after the mouse was chosen: the page starts with its model's rows.
    if (hub->lastMouseIndex() >= 0)
        SlotMouseIndex(hub->lastMouseIndex());
}

Sensor::~Sensor()
{
    delete ui;
}

SensorDPI* Sensor::dpiPanel() const
{
    return ui->frameDpi;
}

SensorSwitch* Sensor::switchFrame(int i) const
{
    SensorSwitch* const switches[3] = {ui->frame, ui->frame_4, ui->frame_3};
    return switches[i];
}

void Sensor::ReadLevelFile()
{
    int count = 1;
    CheckedFile::Result file = CheckedFile::read(m_pageDir + QStringLiteral("/Level.ini"), CheckedFile::SmallTextLimit);
    if (file.ok()) {
        QBuffer buffer(&file.bytes);
        buffer.open(QIODevice::ReadOnly | QIODevice::Text);
        const QString line = QString::fromUtf8(buffer.readLine(64)).trimmed();
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
    QStringList known = {"label_2", "label_3", "label_5", "label_11", "ModeSelectDes", "label_12", "LODDes",
                         "Performance", "FullPerformanceDes", "PerformanceOpen", "PerformanceOpen1", "PerformanceOpen2",
                         "PerformanceOpen3", "PerformanceOpen4", "PerformanceOpen5", "Model", "Model1", "Model2",
                         "label_4", "label_14", "label_15"};
    for (int i = 0; i < 3; ++i)
        known << QLatin1String(switchFrame(i)->kind().textElement) << QLatin1String(switchFrame(i)->kind().toolTipElement);
    loadLanguageSection(index, QStringLiteral("Sensor"), known, [this](const QString& e, const QString& text) {
        if (e == QLatin1String("label_2"))
            ui->frameDpi->SetLabelText(text);
        else if (e == QLatin1String("label_3"))
            ui->frameRate->setLabelText(text);
        else if (e == QLatin1String("label_5") || e == QLatin1String("label_11") || e == QLatin1String("Performance"))
            setWidgetText(this, e, text);
        else if (e == QLatin1String("ModeSelectDes"))
            ui->label_11->setToolTip(text);
        else if (e == QLatin1String("label_12"))
            ui->frameLOD->setLabelText(text);
        else if (e == QLatin1String("LODDes"))
            ui->frameLOD->setLabelToolTip(text);
        else if (e == QLatin1String("FullPerformanceDes"))
            ui->Performance->setToolTip(text);
        else if (e.startsWith(QLatin1String("PerformanceOpen")))
            ui->PerformanceOpen->setItemText(e.mid(15).toInt(), text);
        else if (e.startsWith(QLatin1String("Model")))
            ui->frameEffect->setModeItemText(e.mid(5).toInt(), text);
        else if (e == QLatin1String("label_4"))
            ui->frameEffect->setTitleText(text);
        else if (e == QLatin1String("label_14"))
            ui->frameEffect->setSpeedLabelText(text);
        else if (e == QLatin1String("label_15"))
            ui->frameEffect->setLightLabelText(text);
        for (int i = 0; i < 3; ++i) {
            SensorSwitch* s = switchFrame(i);
            if (e == QLatin1String(s->kind().textElement))
                s->setLabelText(text);
            else if (e == QLatin1String(s->kind().toolTipElement))
                s->setLabelToolTip(text);
        }
    });
}

// ---- sensor mode ----

bool Sensor::sensorModeSupported() const
{
    return SensorHeaderDefines.supports(SensorSupport::SensorMode, CurrentSensorName);
}

void Sensor::setSensorModeIndex(int index)
{
    // A mode byte the list cannot show leaves it as it is.
    if (index < 0 || index > 2)
        return;
    const bool was = ui->ModelChoose->blockSignals(true);
    ui->ModelChoose->setCurrentIndex(index);
    ui->ModelChoose->blockSignals(was);
}

void Sensor::forceCorded()
{
    m_modelView->setRowHidden(2, false);
    setSensorModeIndex(2);
    ui->ModelChoose->setEnabled(false);
}

void Sensor::freeSensorMode(int mode)
{
    ui->ModelChoose->setEnabled(true);
    setSensorModeIndex(mode);
    m_modelView->setRowHidden(2, true);
}

void Sensor::SlotHideModel(int index)
{
    const DeviceAllInfo device = CurrentDeviceRecord();
    if (index == 0 && device.cableFlag == 0 && sensorModeSupported())
        freeSensorMode(WorkingImageCopy().sensorMode);
    else if (index == 1 && (device.kind == 1 || device.kind == 4) && sensorModeSupported())
        forceCorded();
}

void Sensor::on_ModelChoose_currentIndexChanged(int index)
{
    // Refused: the list shows the mouse's mode again.
    if (WriteEnabled && !SensorPageBusy && index >= 0 && index != 2 && !SetSensorMode(static_cast<uint8_t>(index)))
        ui->ModelChoose->showPressIndex();
}

// ---- report rate ----

void Sensor::rateClicked(int row, bool checked)
{
    // The rate panel has written the rate for this click already; the sensor mode follows
    // only when that write went through.
    if (!checked || !WriteEnabled || !ui->frameRate->lastWriteSucceeded())
        return;
    const DeviceAllInfo device = CurrentDeviceRecord();
    const bool supported = sensorModeSupported();
    if (row <= 3) {
        if (device.cableFlag == 0 && supported)
            freeSensorMode(WorkingImageCopy().sensorMode);
    } else if (row == 4) {
        if ((device.kind == 1 || device.kind == 4) && supported)
            forceCorded();
    } else if (row == 5) {
        if (device.kind == 1 && supported)
            forceCorded();
    }
}

void Sensor::on_Button125HZ_clicked(bool checked)
{
    rateClicked(0, checked);
}

void Sensor::on_Button250HZ_clicked(bool checked)
{
    rateClicked(1, checked);
}

void Sensor::on_Button500HZ_clicked(bool checked)
{
    rateClicked(2, checked);
}

void Sensor::on_Button1000HZ_clicked(bool checked)
{
    rateClicked(3, checked);
}

void Sensor::on_Button2000HZ_clicked(bool checked)
{
    rateClicked(4, checked);
}

void Sensor::on_Button4000HZ_clicked(bool checked)
{
    rateClicked(5, checked);
}

void Sensor::SlotUpDataReportRate(int code)
{
    const int row = SensorRate::rowOfCode(code);
    if (row < 0)
        return;
    ui->frameRate->setRate(row);
    if (!sensorModeSupported() || CurrentDeviceRecord().cableFlag != 0)
        return;
    if (isHighRate(code))
        forceCorded();
    else
        freeSensorMode(WorkingImageCopy().sensorMode);
}

// ---- performance ----

void Sensor::on_Performance_clicked(bool checked)
{
    // Refused: the switch shows the mouse's state again.
    if (WriteEnabled && !SetPerformanceMode(checked ? 1 : 0))
        ui->Performance->setChecked(!checked);
}

void Sensor::on_Performance_toggled(bool checked)
{
    ui->PerformanceOpen->setEnabled(checked);
}

void Sensor::on_PerformanceOpen_currentIndexChanged(int index)
{
    // Refused: the list shows the mouse's time again.
    if (WriteEnabled && !SensorPageBusy && index >= 0 && index < 6 && !SetPerformanceTime(PerformanceTimes[index]))
        ui->PerformanceOpen->showPressIndex();
}

// ---- fills ----

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
    const DeviceAllInfo device = CurrentDeviceRecord();
    SensorDPI* dpi = ui->frameDpi;
    ui->frame_3->show();
    dpi->ClearChooseEvent();
    dpi->BlockSlider(true);
    dpi->SetSliderEnabled(true);
    ui->frameEffect->setSlidersEnabled(true);
    {
        BusyScope busy(SensorPageBusy);
        dpi->SetLevelCount(image.dpiLevelCount);
        dpi->SetCurrentLevel(image.currentDpiLevel);
        const int rateRow = SensorRate::rowOfCode(image.reportRate);
        if (rateRow >= 0)
            ui->frameRate->setRate(rateRow);

        CurrentSensorName = UserConfig::instance()->value(modelGroup(), QStringLiteral("Sensor"));
        if (CurrentSensorName == QLatin1String("3950"))
            ui->frameLOD->addLowLod();
        else
            ui->frameLOD->removeLowLod();

        // The time list starts empty: a time it does not hold shows no entry (or the cable's
        // default below), never the one of the mouse shown before.
        ui->PerformanceOpen->setCurrentIndex(-1);
        const bool supported = sensorModeSupported();
        if (!supported)
            ui->ModelChoose->setEnabled(false);
        else if (device.cableFlag != 0
                 || ((device.kind == 1 || device.kind == 4 || device.kind == 5) && isHighRate(image.reportRate)))
            forceCorded();
        else
            freeSensorMode(image.sensorMode);

        ui->frameLOD->setLod(image.liftOffDistance - 1);
        ui->Performance->setChecked(image.performanceMode != 0);
        ui->PerformanceOpen->setEnabled(image.performanceMode != 0);
        for (int i = 0; i < 6; ++i) {
            if (PerformanceTimes[i] == image.performanceTime)
                ui->PerformanceOpen->setCurrentIndex(i);
        }
        ui->frame->setChecked(image.ripple != 0);
        ui->frame_4->setChecked(image.straightLine != 0);
        ui->frame_3->setChecked(image.motionSync != 0);
        fillDpiLight(image);
        fillDpiLevels(image);

        const int mode = maxRateMode(device.kind);
        if (mode >= 0)
            ui->frameRate->setMaxRateMode(mode);
        ui->frameLOD->setEnabled(SensorHeaderDefines.supports(SensorSupport::LodCal, CurrentSensorName));
        ui->frame->setVisible(SensorHeaderDefines.supports(SensorSupport::Ripple, CurrentSensorName));
        ui->frame_4->setVisible(SensorHeaderDefines.supports(SensorSupport::FixLine, CurrentSensorName));
        ui->frame_3->setVisible(SensorHeaderDefines.supports(SensorSupport::MotionSync, CurrentSensorName));
        layoutForModel(UserConfig::instance()->value(modelGroup(), QStringLiteral("XIn1")).toInt());
        if (NoBusyDialog && device.kind == 0)
            ui->frameRate->setRate(3);
        dpi->BlockSlider(false);
    }
    if (ChosenModelId == 6 || ChosenModelId == 10 || ChosenModelId == 13)
        ui->frame_3->hide();
}

void Sensor::fillDpiLight(const FlashDataMap& image)
{
    SensorEffect* effect = ui->frameEffect;
    if (image.dpiLightOn == 0)
        effect->setMode(0);
    else if (image.dpiLightMode == 1 || image.dpiLightMode == 2)
        effect->setMode(image.dpiLightMode);
    effect->setSpeed(image.dpiLightSpeed);
    effect->setLight(SensorEffect::levelOfBrightness(image.dpiLightBrightness));
}

void Sensor::layoutForModel(int xIn1)
{
    const bool compact = xIn1 == 2;
    for (const char* name : SensorBlock) {
        if (QWidget* w = ui->SenSorPage->findChild<QWidget*>(QLatin1String(name)))
            w->setVisible(!compact);
    }
    ui->frameEffect->move(80, compact ? 316 : 456);
    ui->TitleButton_3->move(40, compact ? 323 : 463);
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
    const ResetRow* row = resetRow(ChosenModelId);
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

    ui->frameLOD->setLod(0);
    ui->Performance->setEnabled(true);
    const DeviceAllInfo device = CurrentDeviceRecord();
    const int mode = maxRateMode(device.kind);
    if (mode > 0) {
        ui->frameRate->setMaxRateMode(mode);
        setSensorModeIndex(2);
    } else if (mode == 0) {
        ui->frameRate->setMaxRateMode(0);
        setSensorModeIndex(0);
    }
    if (device.kind <= 5) {
        const bool eightThousand = (ChosenModelId == 0 || ChosenModelId == 1) && (device.kind == 3 || device.kind == 5);
        ui->frameRate->setRate(eightThousand ? 6 : 3);
    }
    if (device.cableFlag != 0)
        setSensorModeIndex(2);
    const bool was = ui->PerformanceOpen->blockSignals(true);
    ui->PerformanceOpen->setCurrentIndex(1);
    ui->PerformanceOpen->blockSignals(was);
    ui->frameEffect->setMode(2);
    ui->frameEffect->setSpeed(3);
    ui->frameEffect->setLight(5);
    ui->Performance->setChecked(false);
    ui->PerformanceOpen->setEnabled(false);
    ui->frame_3->setChecked(true);
    ui->frame_4->setChecked(false);
    ui->frame->setChecked(false);
    if (row->motionSyncShown >= 0)
        ui->frame_3->setVisible(row->motionSyncShown == 1);
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

void Sensor::SlotUpDataDPILed(FlashDataMap DataMap)
{
    // The data callback has put the answer into the working image already: nothing goes back.
    BusyScope busy(SensorPageBusy);
    fillDpiLight(DataMap);
}

void Sensor::SlotMouseIndex(int index)
{
    const bool shown = index >= 2 && index <= 10;
    ui->frameEffect->setVisible(shown);
    ui->TitleButton_3->setVisible(shown);
}

void Sensor::changeEvent(QEvent* event)
{
    ui->PerformanceOpen->setEnabled(ui->Performance->isChecked());
    QWidget::changeEvent(event);
}
