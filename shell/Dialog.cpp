#include "shell/Dialog.h"

#include "ui_Dialog.h"

#include "common/TraceLog.h"
#include "common/DialogFrame.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/SkinStyles.h"
#include "device/DataLink.h"
#include "device/DeviceCache.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/LanSetting.h"
#include "pages/settings/Match.h"
#include "dialogs/Progress.h"
#include "shell/EventWait.h"
#include "common/StyleSheetUrl.h"
#include "shell/UpDataParam.h"
#include "widgets/AfterFirstPaint.h"
#include "widgets/AfterHandler.h"
#include "widgets/BackgroundPicture.h"

#include "HIDUsb.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDebug>
#include <QKeyEvent>
#include <QComboBox>
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QLabel>
#include <QStyle>

namespace {

QString url(const QString& folder, const char* file)
{
    return styleSheetUrl(folder + QLatin1String(file));
}

QString pageButtonStyle(const QString& folder, const char* normal, const char* hover, const char* checked)
{
    return QStringLiteral("QToolButton{border: 0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: ")
           + url(folder, normal) + QStringLiteral(";}QToolButton:hover{background-image:  ") + url(folder, hover)
           + QStringLiteral(";}QToolButton:checked{background-image: ") + url(folder, checked) + QStringLiteral(";}");
}

// Mouse picture indexes of the models without lighting settings.
bool modelHasNoLighting(int pictureIndex)
{
    return pictureIndex == 3 || pictureIndex == 8 || pictureIndex == 10;
}

constexpr int LowBatteryBelow = 16;

}  // namespace

Dialog::Dialog(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Dialog)
{
    ui->setupUi(this);
    m_pictureDir = pictureFolder(QStringLiteral("Dialog"));

    // The frame's sheet never changes, and comes before the pages: a sheet set on an
    // ancestor later polishes every widget of the five pages once more. The background
    // picture is a sheet of its own on a widget behind all others, so that a model with
    // another picture re-styles that widget alone.
    ui->frame_2->setStyleSheet(QStringLiteral("#frame_2{border: none;}"));
    m_backgroundView = new BackgroundPicture(ui->frame_2);
    m_backgroundView->setObjectName(QStringLiteral("FrameBackground"));
    m_backgroundView->setGeometry(ui->frame_2->rect());
    m_backgroundView->lower();
    // The background lies under the whole frame: its first paint puts the frame on the
    // screen, and the other pages come next.
    runAfterFirstPaint(m_backgroundView, this, [this] { buildPages(); });

    // Built in their stack: a page moved there from elsewhere would be styled twice. The
    // button page is the one the frame shows first; the other four are built once the frame
    // has been painted, or at once when something needs them before that (buildPages).
    m_buttonPage = new Buttoninterface(ui->stackedWidgetDialog);
    ui->stackedWidgetDialog->addWidget(m_buttonPage);
    PostMsg::setPagesPending(true);
    PostMsg::connectBlocking(SIGNAL(SigPagesNeeded()), this, SLOT(buildPages()));

    restyleListPopups();
    m_busy = new UpDataParam(nullptr);
    qCDebug(kavroTrace) << "Start";

    applySkin();
    ui->label->hide();
    ui->SetButton->hide();

    m_groupA = new QButtonGroup(this);
    m_groupA->setExclusive(true);
    m_pageButtons = new QButtonGroup(this);
    m_pageButtons->setExclusive(true);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(ui->ButtonMain), static_cast<QAbstractButton*>(ui->MacroButton),
                               static_cast<QAbstractButton*>(ui->LightsButton), static_cast<QAbstractButton*>(ui->SensorButton),
                               static_cast<QAbstractButton*>(ui->FormSetting)})
        m_pageButtons->addButton(b);

    connect(ui->MinButton, SIGNAL(clicked()), this, SLOT(WindowMin()));
    ui->ButtonMain->setChecked(true);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(size());

    ui->stackedWidgetDialog->setCurrentIndex(ButtonPage);

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigSecondPageChange()), this, SLOT(SlotSecondDialog()));
    connect(hub, SIGNAL(SigUpDataParam(int)), this, SLOT(SlotUpDataParam(int)));
    connect(hub, SIGNAL(SigStartRecord(int)), this, SLOT(SlotStartRecord(int)));
    connect(hub, SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    connect(hub, &PostMsg::SigMainPageChange, this, &Dialog::cancelMouseDialogs);
    // The pages open their dialogs in many ways (queued after a handler, Qt's file and colour
    // dialogs, parentless notices): each is seen as it shows.
    qApp->installEventFilter(this);
    PostMsg::connectBlocking(SIGNAL(SigBattery(bool, int, bool)), this, SLOT(SlotBattery(bool, int, bool)));

    ui->label_3->hide();
    ui->label_2->hide();
}

void Dialog::buildPages()
{
    // A page being built may emit through the hub, which asks for the pages again.
    if (m_lightPage || m_buildingPages)
        return;
    m_buildingPages = true;
    // In the order they were always made: the hub calls its receivers in connection order.
    m_lightPage = new LampLight(ui->stackedWidgetDialog);
    m_macroPage = new Macro(ui->stackedWidgetDialog);
    m_sensorPage = new Sensor(ui->stackedWidgetDialog);
    m_settingsPage = new FormSetting(ui->stackedWidgetDialog);
    ui->stackedWidgetDialog->addWidget(m_sensorPage);
    ui->stackedWidgetDialog->addWidget(m_macroPage);
    ui->stackedWidgetDialog->addWidget(m_lightPage);
    ui->stackedWidgetDialog->addWidget(m_settingsPage);
    restyleListPopups();
    // Only now, with every page connected: a device thread that emits meanwhile still asks
    // for the pages and waits until this build has returned.
    PostMsg::setPagesPending(false);
    m_buildingPages = false;
    startBusyWaitOnceBuilt();
}

void Dialog::startBusyWaitOnceBuilt()
{
    if (!m_busyWaitsForPages || !m_lightPage || m_buildingPages)
        return;
    m_busyWaitsForPages = false;
    m_busy->StartTimer();
}

void Dialog::showPage(int page)
{
    buildPages();
    ui->stackedWidgetDialog->setCurrentIndex(page);
}

// A list's popup frame takes its look from the rules for the list's view when the popup is
// made; the pages' sheets are complete only now, so every popup of the frame takes it again
// (as it would when a sheet above it changed).
void Dialog::restyleListPopups()
{
    for (QComboBox* box : findChildren<QComboBox*>()) {
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(box->view()->parentWidget(), &change);
    }
}

Dialog::~Dialog()
{
    // A frame gone before its pages were built leaves nobody to build them.
    if (!m_lightPage)
        PostMsg::setPagesPending(false);
    // The button page goes first: it stops the device side before the other pages go.
    delete m_buttonPage;
    delete m_lightPage;
    delete m_macroPage;
    delete m_sensorPage;
    delete m_settingsPage;
    delete m_busy;
    delete ui;
}

void Dialog::applySkin()
{
    const QString& dir = m_pictureDir;
    ui->label_2->setStyleSheet(QStringLiteral("#label_2{color: rgb(") + skinColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(";);}"));
    ui->BatteryButtonC->setStyleSheet(QStringLiteral("#BatteryButtonC{border:0px;background-image: ")
                                      + url(dir, "Battery.png")
                                      + QStringLiteral(";background-position:center;background-repeat:no-repeat;}"));
    ui->label->setStyleSheet(QStringLiteral("#label{border-image: ") + url(dir, "Charg.png") + QStringLiteral(";}"));
    ui->ButtonMain->setStyleSheet(pageButtonStyle(dir, "Home.png", "HomeHover.png", "HomeChecked.png"));
    ui->SensorButton->setStyleSheet(pageButtonStyle(dir, "Sensor.png", "SensorHover.png", "SensorChecked.png"));
    ui->MacroButton->setStyleSheet(pageButtonStyle(dir, "Macro.png", "MacroHover.png", "MacroChecked.png"));
    ui->LightsButton->setStyleSheet(pageButtonStyle(dir, "Light.png", "LightHover.png", "LightChecked.png"));
    ui->FormSetting->setStyleSheet(pageButtonStyle(dir, "Setting.png", "SettingHover.png", "SettingClick.png"));
    ui->SetButton->setStyleSheet(plainButtonStyle(dir, "Setting.png", "SettingHover.png", "SettingClick.png"));
    ui->CloseButton->setStyleSheet(plainButtonStyle(dir, "Close.png", "CloseHover.png", "CloseClick.png"));
    ui->MinButton->setStyleSheet(plainButtonStyle(dir, "Min.png", "MinHover.png", "MinClick.png"));
    ui->UpArrow->setStyleSheet(plainButtonStyle(dir, "PageChange.png", "PageChangeHover.png", "PageChangeClick.png"));
    ui->progressBar->setStyleSheet(QStringLiteral(
        "#progressBar{border: none;background-color: transparent;}#progressBar::chunk {background-color: rgb(0, 255, 153);}"
        "#progressBar[low=\"true\"]::chunk {background-color: rgb(152, 43, 34);}"));
    SlotMouseIndex(0);
}

void Dialog::showButtonPage()
{
    ui->stackedWidgetDialog->setCurrentIndex(ButtonPage);
}

void Dialog::WindowMin()
{
    PostMsg::instance()->SendChangeSize(0);
}

void Dialog::on_ButtonMain_clicked()
{
    showButtonPage();
    PostMsg::instance()->SendAddMacroButton();
}

void Dialog::on_SensorButton_clicked()
{
    showPage(SensorPage);
}

void Dialog::on_MacroButton_clicked()
{
    showPage(MacroPage);
}

void Dialog::on_LightsButton_clicked()
{
    showPage(LightPage);
}

void Dialog::on_FormSetting_clicked()
{
    showPage(SettingsPage);
}

void Dialog::on_UpArrow_clicked()
{
    UsbServer_SetPCDriverStatus(0);
    WriteLoadedCacheFile();
    ui->ButtonMain->setChecked(true);
    WaitProcessingEvents(ProgramWaits::scaled(ProgramWaits::BackArrowMs));
    CloseDataLink();
    PostMsg::instance()->SendChangeMainDialog(0);
    PostMsg::instance()->SendSetMacroPage();
    showButtonPage();
}

void Dialog::on_CloseButton_clicked()
{
    WriteLoadedCacheFile();
    PostMsg::instance()->SendChangeSize(1);
}

void Dialog::on_SetButton_clicked()
{
    runAfterHandler(this, [this] {
        LanSetting settings;
        settings.ShowVersions();
        const QPoint corner = mapToGlobal(QPoint(0, 0));
        settings.move(corner.x() + 240, corner.y() + 380 + (height() - width()) / 2);
        settings.setOpener(this);
        settings.exec();
    });
}

void Dialog::SlotSecondDialog()
{
    ui->ButtonMain->setChecked(true);
    showButtonPage();
}

void Dialog::SlotUpDataParam(int index)
{
    if (m_loadsEnded)
        return;
    // The busy dialog never runs nested in itself. A load reported while its run is on the
    // stack (the offline notice that run opened lets the Worker start a new load) is kept,
    // the latest one winning, and runs once the current run has returned.
    if (m_busyRunning) {
        m_loadPending = true;
        m_pendingBusyMode = index;
        return;
    }
    m_busyRunning = true;
    int mode = index;
    for (;;) {
        runBusyDialog(mode);
        if (!m_loadPending)
            break;
        m_loadPending = false;
        mode = m_pendingBusyMode;
    }
    m_busyRunning = false;
}

void Dialog::endLoads()
{
    m_loadsEnded = true;
    m_loadPending = false;
    m_busyWaitsForPages = false;
    m_busy->StopTimer();
    if (m_busy->isVisible())
        m_busy->reject();
}

void Dialog::runBusyDialog(int index)
{
    // The busy wait is the mouse's time to answer: it starts once the pages the load fills
    // exist, not while a slow machine is still building them after the first paint. A frame
    // that is not shown gets no paint to build them after.
    m_busyWaitsForPages = true;
    if (!isVisible())
        buildPages();
    startBusyWaitOnceBuilt();
    qCDebug(kavroTrace) << "q";
    // Each load says anew whether it follows a change reported by the mouse.
    m_busy->WaitMode = index == 1 ? 1 : 0;
    qCDebug(kavroTrace) << "w" << "t1";
    placeCentred(m_busy, this, 0, 20);
    m_busy->exec();
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType() && isVisible()) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        // The busy dialogs close with their load; the firmware progress closes on its own
        // signal, and pairing outlasts the mouse leaving on purpose.
        const bool followsDevice = qobject_cast<UpDataParam*>(watched) || qobject_cast<Progress*>(watched)
                                   || qobject_cast<Match*>(watched);
        if (dialog && dialog->isWindow() && dialog != window() && !followsDevice && !m_mouseDialogs.contains(dialog)) {
            m_mouseDialogs.removeAll(nullptr);
            m_mouseDialogs.append(dialog);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Dialog::cancelMouseDialogs()
{
    // Latest first, so a dialog opened from another closes before its opener; rejecting one
    // only ends its loop, the rest go once the stack unwinds.
    const QList<QPointer<QDialog>> dialogs = m_mouseDialogs;
    m_mouseDialogs.clear();
    for (auto it = dialogs.crbegin(); it != dialogs.crend(); ++it) {
        if (*it && (*it)->isVisible())
            (*it)->reject();
    }
}

void Dialog::SlotStartRecord(int index)
{
    if (index != 0 && index != 1)
        return;
    const bool enable = index == 1;
    for (QAbstractButton* b : m_pageButtons->buttons())
        b->setEnabled(enable);
}

void Dialog::SlotBattery(bool IsCharg, int Number, bool IsText)
{
    ui->label->setVisible(IsCharg);
    ui->progressBar->setValue(Number);
    ui->label_2->setText(QString::number(Number) + (IsText ? QStringLiteral("%") : QString()));
    // The bar's sheet holds both fills; a report only says which one, and re-styles the bar
    // only when that changes.
    const bool low = Number < LowBatteryBelow;
    if (ui->progressBar->property("low").toBool() != low) {
        ui->progressBar->setProperty("low", low);
        ui->progressBar->style()->unpolish(ui->progressBar);
        ui->progressBar->style()->polish(ui->progressBar);
        ui->progressBar->update();
    }
}

void Dialog::clearBattery()
{
    ui->label->setVisible(false);
    ui->progressBar->setValue(0);
    ui->label_2->clear();
}

void Dialog::SlotMouseIndex(int index)
{
    // A newly chosen mouse shows no level until it reports its own (an offline one never does).
    clearBattery();
    const bool noLighting = modelHasNoLighting(index);
    m_background = QLatin1String(noLighting ? "BackGround2.png" : "BackGround.png");
    if (isVisible())
        applyBackground();
    ui->LightsButton->setVisible(!noLighting);
    ui->FormSetting->move(noLighting ? 480 : 557, 60);
}

void Dialog::applyBackground()
{
    // The full-size background is decoded when the frame is first shown, not while the
    // choice page is all the user sees; choosing the same model again decodes nothing.
    m_backgroundView->setPicture(m_pictureDir + m_background);
}

void Dialog::showEvent(QShowEvent* event)
{
    applyBackground();
    QWidget::showEvent(event);
}

void Dialog::hideEvent(QHideEvent* event)
{
    // Hidden (or minimised) before its first paint, the frame would never build the pages
    // the busy wait waits for.
    if (m_busyWaitsForPages)
        buildPages();
    QWidget::hideEvent(event);
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Dialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The form's texts come back with Qt's translation; the battery text is the mouse's.
        const QString battery = ui->label_2->text();
        ui->retranslateUi(this);
        ui->label_2->setText(battery);
    }
    QWidget::changeEvent(event);
}
