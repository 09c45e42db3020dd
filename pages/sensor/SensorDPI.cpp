#include "pages/sensor/SensorDPI.h"

#include "ui_SensorDPI.h"

#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/DeviceRecords.h"
#include "device/DeviceSetters.h"
#include "device/DpiCodes.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include "HIDUsb.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QListView>
#include <QMouseEvent>
#include <QTimer>

namespace {

const QStringList DefaultLevelColors = {
    QStringLiteral("255,255,0"), QStringLiteral("255,0,0"),   QStringLiteral("0,255,0"),
    QStringLiteral("0,0,255"),   QStringLiteral("0,255,255"), QStringLiteral("255,0,255"),
    QStringLiteral("159,0,0"),   QStringLiteral("0,212,252"),
};

const QPoint MarkerPoints[SensorDPI::LevelCount] = {{27, 154},  {118, 154}, {209, 154}, {300, 154},
                                                    {391, 154}, {483, 154}, {573, 154}, {664, 154}};

// Drop bands of the marker: distance from the current level's point to the release, and the
// number of levels it moves.
struct DropBand {
    int from;
    int to;
    int step;
};
const DropBand DropBands[] = {{78, 129, 1},    {-102, -51, -1}, {168, 214, 2},   {-192, -144, -2}, {264, 317, 3},
                              {-284, -236, -3}, {361, 389, 4},   {-369, -327, -4}, {443, 495, 5},   {-465, -411, -5},
                              {538, 591, 6},   {-556, -504, -6}, {623, 669, 7},   {-646, -599, -7}};

// Rightmost drop x for c + 1 levels shown (c = index of the level-count list).
const int RightLimits[] = {69, 160, 251, 342, 433, 524, 612};

bool mouseOnline()
{
    const QByteArray path = CurrentDevicePath();
    return UsbFinderC_GetDeviceOnLine(path.constData()) != 0;
}

void offlineNotice()
{
    PostMsg::instance()->SendMouseOffLineo(0);
}

}  // namespace

SensorDPI::SensorDPI(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorDPI)
    , m_levelColors(DefaultLevelColors)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Sensor"));
    const QString& p = m_pictureDir;
    for (const QPoint& point : MarkerPoints)
        m_markerPoints.append(point);
    m_buttonColor = skinColor(QStringLiteral("ButtonColor"));

    m_levelButtonGroup = new QButtonGroup(this);
    m_swatchGroup = new QButtonGroup(this);

    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    ui->label_8->setStyleSheet(
        QStringLiteral("#label_8{border:0px;background-position:center;background-repeat:no-repeat;background-image: ") +
        styleSheetUrl(p + QStringLiteral("Level.png")) +
        QStringLiteral(";}#label_8:hover{border:0px;background-position:center;background-repeat:no-repeat;"
                       "background-image: ") +
        styleSheetUrl(p + QStringLiteral("LevelHover.png")) + QStringLiteral(";}"));
    ui->ChooseEvent->applySkin(p);
    ui->ChooseEvent->setMaxVisibleItems(5);
    ui->horizontalSliderC->setStyleSheet(
        QStringLiteral("QSlider:groove:horizontal{height:2px;left: 0px;right: 0px;border:0px;border-radius:0px;"
                       "background:rgba(0,0,0,50);}QSlider:handle:horizontal{ width:  5px;height: 50px;  margin-top: "
                       "-20px;margin-left: 0px; margin-bottom: -20px;margin-right: 0px; border-image: ") +
        styleSheetUrl(p + QStringLiteral("HuaKuai.png")) +
        QStringLiteral(";} QSlider:sub-page:horizontal{background-color: rgb(") + skinColor(QStringLiteral("SliderColor")) +
        QStringLiteral(");}QSlider:add-page:horizontal{background-color: rgb(255, 255, 255);}"));
    const QString spin = skinColor(QStringLiteral("LinEditColorSecond"));
    ui->spinBoxA->setStyleSheet(QStringLiteral("QSpinBox{background-color: transparent;color: rgb(") + spin +
                                QStringLiteral(");border: 1px  solid gray;}QSpinBox:hover{background-color: "
                                               "transparent;color: rgb(") +
                                spin + QStringLiteral(");border: 1px  solid gray;}"));
    ui->ReduceLevelA->setStyleSheet(QStringLiteral("#ReduceLevelA{background-image: ") +
                                    styleSheetUrl(p + QStringLiteral("Reduce.png")) +
                                    QStringLiteral(";border:0px;background-position:center;background-repeat:no-repeat;}"));
    ui->AddLevelA->setStyleSheet(QStringLiteral("#AddLevelA{background-image: ") +
                                 styleSheetUrl(p + QStringLiteral("Add.png")) +
                                 QStringLiteral(";border:0px;background-position:center;background-repeat:no-repeat;}"));
    ui->ReduceLevelA->setText(QString());

    // Hidden controls keep their place so the row does not shift.
    const QList<QWidget*> keepSpace = {ui->horizontalSliderC, ui->spinBoxA, ui->ReduceLevelA, ui->AddLevelA};
    for (QWidget* w : keepSpace) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    for (int level = 0; level < LevelCount; ++level) {
        QToolButton* button = levelButton(level);
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        button->setStyleSheet(levelButtonStyle(false));
        m_homeGeometries.append(button->geometry());
    }
    for (int level = 0; level < LevelCount; ++level) {
        QToolButton* s = swatch(level);
        s->setStyleSheet(QLatin1Char('#') + s->objectName() +
                         QStringLiteral("{border:0px;border-radius:3px;background-position:center;background-repeat:"
                                        "no-repeat;background-color: rgb(255, 0, 0);background-image: ") +
                         styleSheetUrl(p + QStringLiteral("MinB.png")) + QStringLiteral(";}"));
        m_homeGeometries.append(s->geometry());
    }
    for (int level = 0; level < LevelCount; ++level) {
        m_levelButtonGroup->addButton(levelButton(level));
        m_swatchGroup->addButton(swatch(level));
        connect(levelButton(level), &QToolButton::toggled, this, [this, level](bool on) { levelButtonToggled(level, on); });
        connect(levelButton(level), &QToolButton::clicked, this, [this, level] { levelButtonClicked(level); });
        connect(swatch(level), &QToolButton::toggled, this, [this, level](bool on) { swatchToggled(level, on); });
        connect(swatch(level), &QToolButton::clicked, this, [this, level] { swatchClicked(level); });
    }
    m_dragArea = QRect(0, 0, 728, 194);
}

SensorDPI::~SensorDPI()
{
    delete ui;
}

QToolButton* SensorDPI::levelButton(int level) const
{
    QToolButton* const buttons[LevelCount] = {ui->BlueButton,  ui->BrightRedButton, ui->RedButton,       ui->YellowButton,
                                              ui->GreenButton, ui->PurpleButton,    ui->LightBlueButton, ui->LightYellowButton};
    return buttons[level];
}

QToolButton* SensorDPI::swatch(int level) const
{
    QToolButton* const swatches[LevelCount] = {ui->BlueButtonA,  ui->BrightRedButtonA, ui->RedButtonA,
                                               ui->YellowButtonA, ui->GreenButtonA,    ui->PurpleButtonA,
                                               ui->LightBlueButtonA, ui->LightYellowButtonA};
    return swatches[level];
}

int SensorDPI::checkedLevel() const
{
    for (int level = 0; level < LevelCount; ++level) {
        if (levelButton(level)->isChecked())
            return level;
    }
    return -1;
}

int SensorDPI::checkedSwatch() const
{
    for (int level = 0; level < LevelCount; ++level) {
        if (swatch(level)->isChecked())
            return level;
    }
    return -1;
}

QString SensorDPI::levelColor(int level) const
{
    return level >= 0 && level < LevelCount ? m_levelColors.at(level) : QString();
}

QPoint SensorDPI::markerPoint(int level) const
{
    return level >= 0 && level < LevelCount ? m_markerPoints.at(level) : QPoint(0, 0);
}

QString SensorDPI::levelButtonStyle(bool chosen) const
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:"
                          "no-repeat;color: rgb(") +
           m_buttonColor + QStringLiteral(");background-image: ") +
           styleSheetUrl(m_pictureDir + (chosen ? QStringLiteral("MaxA.png") : QStringLiteral("MinA.png"))) +
           QStringLiteral(";}");
}

QString SensorDPI::swatchStyle(int level, bool chosen) const
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:"
                          "no-repeat;background-color:rgb(") +
           m_levelColors.at(level) + QStringLiteral(");background-image: ") +
           styleSheetUrl(m_pictureDir + (chosen ? QStringLiteral("MaxB.png") : QStringLiteral("MinB.png"))) +
           QStringLiteral(";}");
}

// ---- operations of the sensor page ----

void SensorDPI::BlockChooseEvent(bool block)
{
    ui->ChooseEvent->blockSignals(block);
}

void SensorDPI::ClearChooseEvent()
{
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(was);
}

void SensorDPI::BlockSlider(bool block)
{
    ui->horizontalSliderC->blockSignals(block);
}

void SensorDPI::SetSliderEnabled(bool enabled)
{
    ui->horizontalSliderC->setEnabled(enabled);
}

void SensorDPI::SetSliderMaximum(int value)
{
    ui->horizontalSliderC->setMaximum(value);
}

void SensorDPI::SetSliderMinimum(int value)
{
    ui->horizontalSliderC->setMinimum(value);
}

void SensorDPI::SetSliderValue(int value)
{
    ui->horizontalSliderC->setValue(value);
}

void SensorDPI::LoadLevelsFromSettings()
{
    const QString group = CatalogueModelGroup(CurrentDeviceRecord().modelIndex);
    const QStringList colours = UserConfig::instance()->valueList(group, QStringLiteral("DPIColor"));
    // A partial last triple leaves that level's colour as it is.
    for (int i = 0; i + 2 < colours.size() && i <= 21; i += 3)
        m_levelColors[i / 3] = rgbText(colours.mid(i, 3));
    const QStringList grades = UserConfig::instance()->valueList(group, QStringLiteral("DPIGrade"));
    if (grades.size() < LevelCount)
        return;
    for (int level = 0; level < LevelCount; ++level) {
        swatch(level)->setGeometry(m_homeGeometries.at(LevelCount + level));
        swatch(level)->setStyleSheet(swatchStyle(level, false));
        levelButton(level)->setText(grades.at(level).trimmed());
    }
}

void SensorDPI::HighlightLevelSwatch(int level)
{
    if (level < 0 || level >= LevelCount)
        return;
    for (int k = 0; k < LevelCount; ++k) {
        if (k == level) {
            swatch(k)->setStyleSheet(swatchStyle(k, true));
        } else {
            swatch(k)->setGeometry(m_homeGeometries.at(LevelCount + k));
            swatch(k)->setStyleSheet(swatchStyle(k, false));
        }
    }
}

void SensorDPI::SetCheckedLevel(int level)
{
    if (level < 0 || level >= LevelCount)
        return;
    levelButton(level)->setChecked(true);
    showLevelValue(level);
}

void SensorDPI::SetLevelText(int level, const QString& text)
{
    if (level >= 0 && level < LevelCount)
        levelButton(level)->setText(text);
}

void SensorDPI::SetLabelText(const QString& text)
{
    ui->label->setText(text);
}

void SensorDPI::SetLevelColor(int level, const QString& colour)
{
    if (level < 0 || level >= LevelCount)
        return;
    const QColor c(colour);
    if (!colour.startsWith(QLatin1Char('#')) || colour.size() != 7 || !c.isValid())
        return;
    m_levelColors[level] = QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

void SensorDPI::SetCurrentLevel(int level)
{
    if (level >= 0 && level < LevelCount)
        m_currentLevel = level;
}

void SensorDPI::SetLevelCount(int count)
{
    if (count >= 1 && count <= LevelCount)
        m_levelCount = count;
}

void SensorDPI::SetChooseEventIndex(int index)
{
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPI::AddChooseEventItem(int index, const QString& text)
{
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPI::ShowLevels(int last)
{
    if (last < 0 || last >= LevelCount)
        return;
    m_lastShownLevel = last;
    for (int level = 0; level < LevelCount; ++level) {
        levelButton(level)->setVisible(level <= last);
        swatch(level)->setVisible(level <= last);
    }
}

void SensorDPI::MoveMarkerToLevel(int n)
{
    if (n >= 1 && n <= LevelCount)
        ui->label_8->move(m_markerPoints.at(n - 1));
}

void SensorDPI::SetSpinBoxValue(int value)
{
    ui->spinBoxA->setValue(value);
}

void SensorDPI::SelectLevel(int level)
{
    if (WriteEnabled && !mouseOnline() && !SensorPageBusy) {
        offlineNotice();
        return;
    }
    if (level < 0 || level >= LevelCount)
        return;
    levelButton(level)->setChecked(true);
    showLevelValue(level);
}

void SensorDPI::RestyleSwatch(int level)
{
    if (level >= 0 && level < LevelCount)
        swatch(level)->setStyleSheet(swatchStyle(level, swatch(level)->isChecked()));
}

// ---- the level controls ----

void SensorDPI::showLevelValue(int level)
{
    if (level < 0 || level >= LevelCount)
        return;
    const DpiSnap snap = SnapDpi(levelButton(level)->text().toInt());
    if (snap.pageStep > 0)
        ui->horizontalSliderC->setPageStep(snap.pageStep);
    levelButton(level)->setText(QString::number(snap.value));
    ui->spinBoxA->setValue(snap.value);
    const bool was = ui->horizontalSliderC->blockSignals(true);
    ui->horizontalSliderC->setValue(snap.value);
    ui->horizontalSliderC->blockSignals(was);
}

void SensorDPI::levelButtonToggled(int level, bool checked)
{
    QRect home = m_homeGeometries.at(level);
    QToolButton* button = levelButton(level);
    if (!checked) {
        button->setGeometry(home);
        button->setStyleSheet(levelButtonStyle(false));
        return;
    }
    button->setGeometry(home.x() - 7, home.y() - 7, 68, 70);
    button->setStyleSheet(levelButtonStyle(true));
    swatch(level)->setChecked(true);
    if (WriteEnabled && !SensorPageBusy && !m_showingRefusedLevel) {
        const int previous = m_currentLevel;
        m_currentLevel = level;
        ui->label_8->move(markerPoint(level));
        if (!SetCurrentDpiLevel(static_cast<uint8_t>(level))) {
            m_levelWriteRefused = true;
            // A level the user chose stays the mouse's: once the click is over, the mouse's
            // level shows again (the level-count change ends on its own).
            if (!m_changingLevelCount)
                QTimer::singleShot(0, this, [this, previous] { showMouseLevel(previous); });
        }
    }
}

void SensorDPI::showMouseLevel(int level)
{
    if (level < 0 || level >= LevelCount)
        return;
    m_showingRefusedLevel = true;
    levelButton(level)->setChecked(true);
    m_showingRefusedLevel = false;
    m_currentLevel = level;
    ui->label_8->move(markerPoint(level));
    showLevelValue(level);
}

void SensorDPI::levelButtonClicked(int level)
{
    showLevelValue(level);
}

void SensorDPI::swatchToggled(int level, bool checked)
{
    const QRect home = m_homeGeometries.at(LevelCount + level);
    QToolButton* s = swatch(level);
    if (!checked) {
        s->setGeometry(home);
        s->setStyleSheet(swatchStyle(level, false));
        return;
    }
    s->setGeometry(home.x() - 8, home.y() + 6, 66, 14);
    levelButton(level)->setChecked(true);
    s->setStyleSheet(swatchStyle(level, true));
    showLevelValue(level);
}

void SensorDPI::swatchClicked(int /*level*/)
{
    openColorDialog();
}

void SensorDPI::openColorDialog()
{
    // Built on first use: the dialog costs as much as the rest of the page to build.
    if (!m_colorDialog) {
        // Qt's own dialog: the same look everywhere, and it works without a desktop.
        m_colorDialog = new QColorDialog(this);
        m_colorDialog->setOption(QColorDialog::DontUseNativeDialog);
        m_colorDialog->setModal(false);
        connect(m_colorDialog, &QColorDialog::colorSelected, this, &SensorDPI::SetColor);
    }
    const int level = checkedSwatch();
    if (level >= 0) {
        const QStringList rgb = m_levelColors.at(level).split(QLatin1Char(','));
        if (rgb.size() == 3)
            m_colorDialog->setCurrentColor(QColor(rgb.at(0).toInt(), rgb.at(1).toInt(), rgb.at(2).toInt()));
    }
    m_colorDialog->adjustSize();
    const QPoint centre = mapToGlobal(rect().center());
    m_colorDialog->move(centre.x() - m_colorDialog->width() / 2, centre.y() - m_colorDialog->height() / 2);
    m_colorDialog->show();
    m_colorDialog->raise();
    m_colorDialog->activateWindow();
}

void SensorDPI::SetColor(const QColor& color)
{
    const int level = checkedSwatch();
    if (level < 0)
        return;
    const QString before = m_levelColors.at(level);
    SetLevelColor(level, color.name(QColor::HexRgb).toLower());
    // Refused: the swatch keeps the mouse's colour.
    if (WriteEnabled && !SensorPageBusy
        && !SetDpiLevelColor(level, uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue())))
        m_levelColors[level] = before;
    RestyleSwatch(level);
}

void SensorDPI::on_horizontalSliderC_valueChanged(int value)
{
    if (WriteEnabled && !mouseOnline() && !SensorPageBusy) {
        // Refused: the slider and the box show the checked level's value again.
        const int level = checkedLevel();
        if (level >= 0)
            showLevelValue(level);
        else
            ui->spinBoxA->setValue(value);
        offlineNotice();
        return;
    }
    const DpiSnap snap = SnapDpi(value);
    if (snap.pageStep > 0)
        ui->horizontalSliderC->setPageStep(snap.pageStep);
    const int level = checkedLevel();
    if (level >= 0)
        levelButton(level)->setText(QString::number(snap.value));
    ui->spinBoxA->setValue(snap.value);
    if (SensorPageBusy || NoBusyDialog || !WriteEnabled)
        return;
    ApplyLevelDpi(level, snap.value);
}

void SensorDPI::on_horizontalSliderC_sliderMoved(int position)
{
    const DpiSnap snap = SnapDpi(position);
    if (snap.pageStep > 0)
        ui->horizontalSliderC->setPageStep(snap.pageStep);
    ui->spinBoxA->setValue(snap.value);
}

void SensorDPI::stepValue(bool up)
{
    if (WriteEnabled && !mouseOnline()) {
        offlineNotice();
        return;
    }
    const int value = ui->spinBoxA->value();
    ui->horizontalSliderC->setValue(up ? StepDpiUp(value) : StepDpiDown(value));
}

void SensorDPI::on_AddLevelA_clicked()
{
    stepValue(true);
}

void SensorDPI::on_ReduceLevelA_clicked()
{
    stepValue(false);
}

void SensorDPI::on_ChooseEvent_currentIndexChanged(int index)
{
    if (SensorPageBusy || index < 0 || index >= LevelCount)
        return;
    // One check for the whole change, which writes up to three times: offline, nothing moves,
    // the list shows the levels on screen again and the notice comes once.
    if (WriteEnabled && !mouseOnline()) {
        showShownLevelCount();
        offlineNotice();
        return;
    }
    m_previousLevel = m_currentLevel;
    const int previous = m_previousLevel;
    if (previous > index && previous < LevelCount) {
        // The current level would be hidden: it changes places with the last level shown.
        m_levelColors.swapItemsAt(previous, index);
        RestyleSwatch(previous);
        RestyleSwatch(index);
        const QString movedText = QString::number(levelButton(previous)->text().toInt());
        levelButton(previous)->setText(QString::number(levelButton(index)->text().toInt()));
        levelButton(index)->setText(movedText);
        ui->label_8->move(markerPoint(index));
        m_levelWriteRefused = false;
        m_changingLevelCount = true;
        levelButton(index)->setChecked(true);
        m_changingLevelCount = false;
        showLevelValue(index);
        m_levelCount = index + 1;
        m_currentLevel = index;
        ShowLevels(index);
        // A write refused on the way ends the change there; the reload after the mouse's
        // return shows what it holds.
        if (!WriteEnabled || m_levelWriteRefused)
            return;
        const FlashDataMap image = WorkingImageCopy();
        if (!SetDpiLevels(&image.dpiLevels[index], &image.dpiLevels[previous], index, previous,
                          static_cast<uint8_t>(index)))
            return;
    } else {
        ShowLevels(index);
    }
    if (!WriteEnabled)
        return;
    // The level count goes through the loaded image like every write, so nothing is sent
    // without this mouse's configuration.
    FlashDataMap snapshot{};
    if (ChangeLoadedWorkingImage([index](FlashDataMap& m) { m.dpiLevelCount = static_cast<uint8_t>(index + 1); },
                                 &snapshot))
        SendImageToMouse(&snapshot);
}

void SensorDPI::showShownLevelCount()
{
    if (m_lastShownLevel < 0)
        return;
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->setCurrentIndex(m_lastShownLevel);
    ui->ChooseEvent->blockSignals(was);
}

// ---- the marker drag ----
// A press on the marker is the marker's to the end: its moves and its release never reach the
// window's drag. Any other press on the panel is left to the window.

void SensorDPI::mousePressEvent(QMouseEvent* event)
{
    const bool onMarker = event->buttons() != Qt::NoButton && ui->label_8->geometry().contains(event->pos());
    if (!m_markerPress.press(event, onMarker))
        return;
    m_dragging = true;
    m_pressOffset = event->pos() - ui->label_8->pos();
}

void SensorDPI::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_markerPress.move(event) || event->buttons() == Qt::NoButton || !m_dragging)
        return;
    if (m_dragArea.contains(event->pos()))
        ui->label_8->move(event->pos() - m_pressOffset);
    else
        dropMarker(event->pos());
}

void SensorDPI::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_markerPress.release(event))
        dropMarker(event->pos());
}

void SensorDPI::dropMarker(const QPoint& pos)
{
    m_dragging = false;
    const bool levelKnown = m_currentLevel >= 0 && m_currentLevel < LevelCount;
    const QPoint base = markerPoint(m_currentLevel);
    if (!ui->label_8->geometry().contains(pos)) {
        ui->label_8->move(base);
        return;
    }
    const int x = pos.x();
    if (x < 15 || x > 706) {
        if (levelKnown)
            ui->label_8->move(base);
        return;
    }
    const int shown = ui->ChooseEvent->currentIndex();
    if (shown >= 0 && shown < int(sizeof RightLimits / sizeof RightLimits[0]) && x > RightLimits[shown]) {
        ui->label_8->move(base);
        if (WriteEnabled && levelKnown)
            SetCurrentDpiLevel(static_cast<uint8_t>(m_currentLevel));
        return;
    }
    const int d = x - base.x();
    for (const DropBand& band : DropBands) {
        if (d < band.from || d > band.to)
            continue;
        const int target = m_currentLevel + band.step;
        if (target < 0 || target >= LevelCount) {
            ui->label_8->move(base);
            return;
        }
        // One check for the drop: offline, the marker goes back to the mouse's level and the
        // notice comes once.
        if (WriteEnabled && !SensorPageBusy && !mouseOnline()) {
            ui->label_8->move(base);
            offlineNotice();
            return;
        }
        ui->label_8->move(base.x() + 91 * band.step, base.y());
        m_currentLevel = target;
        // Checking the level's button sends it; a level already checked is sent here.
        const bool alreadyChecked = levelButton(target)->isChecked();
        SelectLevel(target);
        if (WriteEnabled && alreadyChecked)
            SetCurrentDpiLevel(static_cast<uint8_t>(target));
        return;
    }
    ui->label_8->move(base);
}
