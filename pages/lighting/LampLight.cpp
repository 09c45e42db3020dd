#include "pages/lighting/LampLight.h"

#include "ui_LampLight.h"

#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/TraceLog.h"
#include "device/DeviceCache.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "pages/lighting/LightRules.h"
#include "pages/lighting/ScreenColor.h"
#include "pages/sensor/SleepTimeSteps.h"

#include <QListView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStandardItemModel>

namespace {
constexpr int DefaultSleepPosition = 2;  // 1 minute
}  // namespace

LampLight::LampLight(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::LampLight)
    , m_colorSource(std::make_unique<ScreenGrabColorSource>())
{
    ui->setupUi(this);
    connect(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    m_pictureDir = pictureFolder(QStringLiteral("Light"));

    // Row 0's layout without its write: building the page never writes.
    ui->line->hide();
    ui->line_2->hide();
    applyRowVisibility(ui->LightMod->currentIndex());

    applySkin();
    for (const LightRules::Preset& preset : LightRules::Presets) {
        auto* button = findChild<QToolButton*>(QStringLiteral("toolButtonColor") + QLatin1Char(preset.letter));
        const int index = int(&preset - LightRules::Presets.data());
        connect(button, &QToolButton::clicked, this, [this, index] { applyPreset(index); });
    }
    SlotChangeLanguage(currentLanguageIndex());

    PostMsg::connectBlocking(SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotUpDataLightUILight(FlashDataMap)));
    connect(PostMsg::instance(), SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetLight()));
}

LampLight::~LampLight()
{
    delete ui;
}

void LampLight::setColorSource(std::unique_ptr<ScreenColorSource> source)
{
    m_colorSource = std::move(source);
}

void LampLight::applySkin()
{
    const QString& d = m_pictureDir;
    const auto url = [&d](const QString& file) { return styleSheetUrl(d + file); };
    const QString label = skinColor(QStringLiteral("LabelColor"));
    const QString edit = skinColor(QStringLiteral("LinEditColorSecond"));
    const QString slider = skinColor(QStringLiteral("SliderColor"));

    // The page frame keeps its scroll-bar style but draws no outline of its own.
    ui->LightPage->setStyleSheet(ui->LightPage->styleSheet() + QStringLiteral("#LightPage{border:0px;}"));
    m_modeView = ui->LightMod->applySkin(d);
    ui->LightMod->setMaxVisibleItems(5);
    for (QLabel* caption : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_8, ui->label_13})
        caption->setStyleSheet(labelColorStyle(label));
    for (QSpinBox* display : {ui->SpeedSpinBox_2, ui->LightSpinBox_2})
        display->setStyleSheet("QSpinBox{color: rgb(" + label + ";);background-color: transparent;border: 0px;}");
    for (QSpinBox* box : {ui->RSpinBox, ui->GSpinBox, ui->BSpinBox})
        box->setStyleSheet("QSpinBox{background-color: rgb(0,0,0);color: rgb(" + edit +
                           ";);border: 1px  solid gray;}QSpinBox:hover{background-color: transparent;color: rgb(" + edit +
                           ";);border: 1px  solid gray;}");
    for (QSlider* s : {ui->horizontalLight, ui->horizontalSpeed})
        s->setStyleSheet("QSlider:groove:horizontal{height:2px;left: 0px;right: 0px;border:0px;border-radius:0px;"
                         "background:rgba(0,0,0,50);}QSlider:handle:horizontal{ width:  5px;height: 50px;  margin-top: "
                         "-20px;margin-left: 0px; margin-bottom: -20px;margin-right: 0px; border-image: " +
                         url("HuaKuai.png") + ";} QSlider:sub-page:horizontal{background-color: rgb(" + slider +
                         ";);}QSlider:add-page:horizontal{background-color: rgb(255, 255, 255);}");
    ui->RippeControl->setStyleSheet(
        "#RippeControl{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: " + url("Close.png") + ";}#RippeControl:checked {background-image: " + url("Open.png") + ";}");
    ui->label_7->setStyleSheet("#label_7{border:0px;background-position:center;background-repeat:no-repeat;background-image: " +
                               url("ColorBoard.png") + ";}");
    const auto pictureButton = [&url](QWidget* w, const QString& file) {
        w->setStyleSheet("#" + w->objectName() + "{background-image: " + url(file) +
                         ";border:0px;background-position:center;background-repeat:no-repeat;}");
    };
    for (QToolButton* w : {ui->ReduceR, ui->ReduceG, ui->ReduceB}) {
        w->setText(QString());  // the form's placeholder text would stand over the picture
        pictureButton(w, QStringLiteral("Reduce.png"));
    }
    for (QWidget* w : {ui->AddR, ui->AddG, ui->AddB})
        pictureButton(w, QStringLiteral("Add.png"));
    pictureButton(ui->labelPreView, QStringLiteral("PreviewColor.png"));
    for (const LightRules::Preset& preset : LightRules::Presets) {
        const QString name = QStringLiteral("toolButtonColor") + QLatin1Char(preset.letter);
        findChild<QToolButton*>(name)->setStyleSheet(
            "#" + name + "{border:0px;background-position:center;background-repeat:no-repeat;background-image: " +
            url(QStringLiteral("Color") + QLatin1Char(preset.letter) + QStringLiteral(".png")) + ";}");
    }
}

// ---------------------------------------------------------------------------------------
// Fills and reset: they show the image and write nothing.

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    fill(DataMap, true);
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap)
{
    fill(DataMap, false);
}

void LampLight::fill(const FlashDataMap& image, bool fromDevice)
{
    const int model = ChosenModelId;
    offerRowsFiveSix(LightRules::offersRowsFiveSixAfterFill(model));
    if (LightRules::fillsNothing(model)) {
        LightPageBusy = 0;
        LightPageReady = 1;
        return;
    }
    ui->horizontalLight->setEnabled(fromDevice);
    ui->horizontalSpeed->setEnabled(fromDevice);
    if (fromDevice)
        LightPageReady = 0;
    LightPageBusy = 1;

    const int brightness = LightRules::sliderForByte(image.lightBrightness);
    const int speed = LightRules::sliderForByte(image.lightSpeed);
    {
        const QSignalBlocker b1(ui->horizontalLight), b2(ui->horizontalSpeed), b3(ui->RSpinBox), b4(ui->GSpinBox),
            b5(ui->BSpinBox);
        ui->horizontalLight->setValue(brightness);
        ui->horizontalSpeed->setValue(speed);
        ui->LightSpinBox_2->setValue(brightness);
        ui->SpeedSpinBox_2->setValue(speed);
        ui->RSpinBox->setValue(image.lightRed);
        ui->GSpinBox->setValue(image.lightGreen);
        ui->BSpinBox->setValue(image.lightBlue);
        ui->labelPreView->setStyleSheet(LightRules::previewStyle(image.lightRed, image.lightGreen, image.lightBlue));
        m_mouseRed = image.lightRed;
        m_mouseGreen = image.lightGreen;
        m_mouseBlue = image.lightBlue;
        m_mouseBrightness = ui->horizontalLight->value();
        m_mouseSpeed = ui->horizontalSpeed->value();
    }
    // A change of row runs the mode slot, which under LightPageBusy only lays the page out.
    ui->LightMod->setCurrentIndex(LightRules::rowForImage(image.lightOn, image.lightEffect, ui->LightMod->currentIndex()));
    ui->RippeControl->setChecked(image.lightPageToggle != 0);
    const int sleep = SleepTimeSteps::positionOf(image.sleepTime);
    if (sleep >= 0)
        ui->frameClose->setCurrentIndex(sleep);

    LightPageBusy = 0;
    if (fromDevice)
        LightPageReady = 1;
}

void LampLight::SlotFormResetLight()
{
    const int model = ChosenModelId;
    offerRowsFiveSix(LightRules::offersRowsFiveSixAfterReset(model));
    if (LightRules::resetsNothing(model)) {
        LightPageReady = 1;
        LightPageBusy = 0;
        return;
    }
    LightPageBusy = 1;
    ui->LightMod->setCurrentIndex(LightRules::resetRow(model));
    ui->horizontalLight->setValue(10);
    ui->horizontalSpeed->setValue(8);
    ui->LightSpinBox_2->setValue(10);
    ui->SpeedSpinBox_2->setValue(8);
    m_mouseBrightness = ui->horizontalLight->value();
    m_mouseSpeed = ui->horizontalSpeed->value();
    ui->RippeControl->setChecked(false);
    ui->frameClose->setCurrentIndex(DefaultSleepPosition);
    LightPageBusy = 0;
}

// Rows 5 and 6 are hidden from the drop-down, not removed: the page can still select them. They
// are disabled as well, so the arrow keys on the list skip them too.
void LampLight::offerRowsFiveSix(bool offered)
{
    auto* model = qobject_cast<QStandardItemModel*>(ui->LightMod->model());
    for (int row : {5, 6}) {
        m_modeView->setRowHidden(row, !offered);
        if (model && model->item(row))
            model->item(row)->setEnabled(offered);
    }
}

// ---------------------------------------------------------------------------------------
// The user's changes.

bool LampLight::writeAllowed() const
{
    return WriteEnabled && !LightPageBusy;
}

// Plus, minus, presets and the board stop here while the mouse is offline (with the notice).
bool LampLight::onlineGuard()
{
    if (!WriteEnabled || IsDeviceOnline())
        return true;
    return LightPageBusy != 0;
}

void LampLight::on_LightMod_currentIndexChanged(int index)
{
    if (writeAllowed()) {
        const int mode = LightRules::modeForRow(index);
        if (mode >= 0 && !SetLightMode(mode)) {
            // Refused: the list shows the row laid out, the mouse's, again.
            const QSignalBlocker blocker(ui->LightMod);
            ui->LightMod->setCurrentIndex(m_shownRow);
            return;
        }
    }
    m_shownRow = index;
    applyRowVisibility(index);
}

void LampLight::applyRowVisibility(int row)
{
    if (row < 0 || row > 5)
        return;  // row 6 keeps what the previous row showed
    const bool off = row == 0;
    const bool colour = row == 1 || row == 2;
    const bool speed = !off && row != 2;
    ui->line->setVisible(off);
    ui->line_2->setVisible(off || row == 2);
    showColorArea(colour);
    ui->horizontalLight->setVisible(!off);
    ui->LightSpinBox_2->setVisible(!off);
    ui->horizontalSpeed->setVisible(speed);
    ui->SpeedSpinBox_2->setVisible(speed);
}

void LampLight::showColorArea(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui->label_6, ui->label_7, ui->label_8, ui->labelPreView, ui->label_10,
                                                      ui->label_11, ui->label_12, ui->RSpinBox, ui->GSpinBox, ui->BSpinBox,
                                                      ui->AddR, ui->AddG, ui->AddB, ui->ReduceR, ui->ReduceG, ui->ReduceB,
                                                      ui->label_13})
        w->setVisible(shown);
    for (const LightRules::Preset& preset : LightRules::Presets)
        findChild<QToolButton*>(QStringLiteral("toolButtonColor") + QLatin1Char(preset.letter))->setVisible(shown);
}

void LampLight::on_horizontalLight_valueChanged(int value)
{
    sliderChanged(ui->horizontalLight, ui->LightSpinBox_2, value, SetLightBrightness, m_mouseBrightness);
}

void LampLight::on_horizontalSpeed_valueChanged(int value)
{
    sliderChanged(ui->horizontalSpeed, ui->SpeedSpinBox_2, value, SetLightSpeed, m_mouseSpeed);
}

void LampLight::sliderChanged(QSlider* slider, QSpinBox* display, int value, bool (*setter)(uint8_t), int& mouseValue)
{
    display->setValue(value);
    if (!writeAllowed())
        return;
    if (setter(uint8_t(value - 1)))
        mouseValue = value;
    else
        showSliderValue(slider, display, mouseValue);
}

// A slider held on its groove keeps paging from the value shown, and each step is refused the
// same way, so nothing runs on to the pointer.
void LampLight::showSliderValue(QSlider* slider, QSpinBox* display, int value)
{
    const QSignalBlocker blocker(slider);
    slider->setValue(value);
    slider->setSliderPosition(value);
    display->setValue(value);
}

void LampLight::on_horizontalLight_sliderMoved(int position)
{
    ui->LightSpinBox_2->setValue(position);
}

void LampLight::on_horizontalSpeed_sliderMoved(int position)
{
    ui->SpeedSpinBox_2->setValue(position);
}

void LampLight::on_RSpinBox_valueChanged(int /*arg1*/)
{
    colorChanged();
}

void LampLight::on_GSpinBox_valueChanged(int /*arg1*/)
{
    colorChanged();
}

void LampLight::on_BSpinBox_valueChanged(int /*arg1*/)
{
    colorChanged();
}

// While the page fills, the boxes' signals are blocked: this runs for the user's changes only.
void LampLight::colorChanged()
{
    const int red = ui->RSpinBox->value();
    const int green = ui->GSpinBox->value();
    const int blue = ui->BSpinBox->value();
    ui->labelPreView->setStyleSheet(LightRules::previewStyle(red, green, blue));
    if (!WriteEnabled)
        return;
    if (SetLightColor(uint8_t(red), uint8_t(green), uint8_t(blue))) {
        m_mouseRed = red;
        m_mouseGreen = green;
        m_mouseBlue = blue;
        return;
    }
    m_colorRefused = true;
    showMouseColor();
}

void LampLight::showMouseColor()
{
    {
        const QSignalBlocker b1(ui->RSpinBox), b2(ui->GSpinBox), b3(ui->BSpinBox);
        ui->RSpinBox->setValue(m_mouseRed);
        ui->GSpinBox->setValue(m_mouseGreen);
        ui->BSpinBox->setValue(m_mouseBlue);
    }
    ui->labelPreView->setStyleSheet(LightRules::previewStyle(m_mouseRed, m_mouseGreen, m_mouseBlue));
}

// Each box that changes writes the colour, so a preset or a pick sends up to three images, the
// last one with the whole colour; a refused write ends it there.
bool LampLight::setColorBoxes(int red, int green, int blue)
{
    m_colorRefused = false;
    const std::pair<QSpinBox*, int> boxes[] = {{ui->RSpinBox, red}, {ui->GSpinBox, green}, {ui->BSpinBox, blue}};
    for (const auto& box : boxes) {
        box.first->setValue(box.second);
        if (m_colorRefused)
            return false;
    }
    return true;
}

void LampLight::stepBox(QSpinBox* box, int step)
{
    if (onlineGuard())
        box->setValue(box->value() + step);  // held to 0..255; an unchanged value writes nothing
}

void LampLight::on_AddR_clicked()
{
    stepBox(ui->RSpinBox, 1);
}

void LampLight::on_AddG_clicked()
{
    stepBox(ui->GSpinBox, 1);
}

void LampLight::on_AddB_clicked()
{
    stepBox(ui->BSpinBox, 1);
}

void LampLight::on_ReduceR_clicked()
{
    stepBox(ui->RSpinBox, -1);
}

void LampLight::on_ReduceG_clicked()
{
    stepBox(ui->GSpinBox, -1);
}

void LampLight::on_ReduceB_clicked()
{
    stepBox(ui->BSpinBox, -1);
}

void LampLight::applyPreset(int index)
{
    if (!onlineGuard())
        return;
    const LightRules::Preset& preset = LightRules::Presets[size_t(index)];
    setColorBoxes(preset.red, preset.green, preset.blue);
}

void LampLight::on_RippeControl_clicked(bool checked)
{
    // Refused: the switch shows the mouse's state again.
    if (writeAllowed() && !SetLightPageToggle(checked ? 1 : 0))
        ui->RippeControl->setChecked(!checked);
}

// A press on the page takes the focus from the number boxes; a press on the colour board, while
// it is shown, takes the colour shown on the screen there, and so does every move of its drag
// over the board. The board's press is its own to the end: the window does not drag from it.
void LampLight::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->type() != QEvent::MouseButtonPress)
        return;
    const QPoint pos = ui->LightPage->mapFrom(this, event->pos());
    const auto releaseFocus = [this, pos](std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets) {
            if (w->geometry().contains(pos))
                return;
        }
        for (QWidget* w : widgets)
            w->clearFocus();
        setFocus(Qt::OtherFocusReason);
    };
    releaseFocus({ui->RSpinBox, ui->GSpinBox, ui->BSpinBox});
    releaseFocus({ui->LightSpinBox_2});
    releaseFocus({ui->SpeedSpinBox_2});

    if (m_boardPress.press(event, onColorBoard(pos)))
        m_boardPicking = pickBoardColor(event->globalPos());
}

void LampLight::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_boardPress.move(event)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (m_boardPicking && onColorBoard(ui->LightPage->mapFrom(this, event->pos())))
        m_boardPicking = pickBoardColor(event->globalPos());
}

void LampLight::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_boardPress.release(event))
        QWidget::mouseReleaseEvent(event);
    else
        FlushDeviceCache();  // the drag's last colour goes to the cache now, not after its gap
    m_boardPicking = false;
}

bool LampLight::onColorBoard(const QPoint& pagePos) const
{
    return ui->label_7->isVisible() && ui->label_7->geometry().contains(pagePos);
}

bool LampLight::pickBoardColor(const QPoint& globalPos)
{
    if (!onlineGuard())
        return false;
    const std::optional<QColor> colour = m_colorSource ? m_colorSource->colorAt(globalPos) : std::nullopt;
    if (!colour) {
        qCDebug(kavroTrace) << "colour board: the screen could not be read at" << globalPos;
        return true;
    }
    if (!setColorBoxes(colour->red(), colour->green(), colour->blue()))
        return false;
    ui->labelPreView->setStyleSheet(LightRules::previewStyle(colour->red(), colour->green(), colour->blue()));
    return true;
}

void LampLight::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------

void LampLight::SlotChangeLanguage(int index)
{
    QStringList known{QStringLiteral("label"), QStringLiteral("label_2"), QStringLiteral("label_3"),
                      QStringLiteral("label_4"), QStringLiteral("label_5"), QStringLiteral("label_6"),
                      QStringLiteral("label_8"), QStringLiteral("label_10"), QStringLiteral("label_11"),
                      QStringLiteral("label_12"), QStringLiteral("label_13"), QStringLiteral("LightMod"),
                      QStringLiteral("StopCloseTime")};
    for (int k = 1; k < LightRules::RowCount; ++k)
        known << QStringLiteral("LightMod%1").arg(k);
    for (int k = 1; k <= 10; ++k)
        known << QStringLiteral("StopCloseTime%1").arg(k);
    loadLanguageSection(index, QStringLiteral("Light"), known, [this](const QString& element, const QString& text) {
        if (element.startsWith(QLatin1String("LightMod")))
            ui->LightMod->setItemText(element.midRef(int(qstrlen("LightMod"))).toInt(), text);
        else if (element.startsWith(QLatin1String("StopCloseTime")))
            ui->frameClose->setItemText(element.midRef(int(qstrlen("StopCloseTime"))).toInt(), text);
        else
            setWidgetText(this, element, text);
    });
}
