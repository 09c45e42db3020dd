#include "shell/DialogChange.h"

#include "ui_DialogChange.h"

#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/LanguageNames.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/Registry.h"
#include "common/SkinStyles.h"
#include "common/UserConfig.h"
#include "device/DataCallback.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/DamagedInstall.h"
#include "dialogs/QuestiondialogB.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/ChoiceDevices.h"
#include "shell/ChoiceFlows.h"
#include "shell/ChoiceTiles.h"
#include "common/StyleSheetUrl.h"
#include "widgets/BackgroundPicture.h"
#include "widgets/mytoolButtonEnter.h"
#include "widgets/AfterHandler.h"

#include "HIDUsb.h"

#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QStackedWidget>
#include <QStyle>
#include <QThread>
#include <QTimer>

namespace {

DialogChange* g_page = nullptr;

constexpr int HotPlugSettleMs = 600;
// A tile page that was current once; the picture a tile of a page not opened yet is to show.
constexpr const char* OpenedProperty = "opened";
constexpr const char* WaitingPictureProperty = "waitingPicture";

bool updateFailureRecorded()
{
    return !Registry::value(QString::fromLatin1(MouseVersionRegistryKey), QStringLiteral("UpdateFailInfo")).toString().isEmpty();
}

// The tiles' one style sheet, set once: a rule per picture, chosen by the widget's "picture"
// (tile, mark) or "badge" property, so that a rebuild or a state change sets a property instead
// of giving each widget a sheet of its own to parse.
QString tileStyleSheet(const QString& folder)
{
    QString sheet;
    const auto addRules = [&](const QString& selector, const QStringList& pictures, const QString& look) {
        for (const QString& picture : pictures)
            sheet += selector.arg(picture) + QStringLiteral("{") + look.arg(styleSheetUrl(folder + picture)) + QStringLiteral("}\n");
    };
    const QString centred = QStringLiteral(
        "border:0px;background-position:center;background-repeat:no-repeat;background-image: %1;color: rgb(255, 255, 255);");
    addRules(QStringLiteral("QToolButton[picture=\"%1\"]"), choiceTilePictures(), centred);
    addRules(QStringLiteral("QLabel[picture=\"%1\"]"), choiceMarkPictures(), centred);
    addRules(QStringLiteral("QLabel[badge=\"%1\"]"), choiceBadgePictures(), QStringLiteral("background-image: %1;"));
    return sheet;
}

// Sets the property that picks a widget's rule in the tiles' sheet. A widget that was polished
// already takes its new rule at once; a new one takes it when it is first shown.
void choosePicture(QWidget* widget, const char* property, const QString& picture)
{
    widget->setProperty(property, picture);
    if (!widget->testAttribute(Qt::WA_WState_Polished))
        return;
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

}  // namespace

DialogChange::DialogChange(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::DialogChange)
{
    ui->setupUi(this);
    g_page = this;
    ui->comboBox->addItems(LanguageNames());
    ui->comboBox->setCurrentIndex(0);

    m_pictureDir = pictureFolder(QStringLiteral("DialogChange"));
    const auto picture = [this](const char* file) { return styleSheetUrl(m_pictureDir + QLatin1String(file)); };
    // The frame's sheet draws no panel border; the picture lies behind all of its widgets.
    ui->frameChange->setStyleSheet(QStringLiteral("#frameChange{border: none;}"));
    auto* background = new BackgroundPicture(ui->frameChange);
    background->setObjectName(QStringLiteral("ChoiceBackground"));
    background->setGeometry(ui->frameChange->rect());
    background->lower();
    background->setPicture(m_pictureDir + QStringLiteral("MainBack.png"));
    ui->CloseButton->setStyleSheet(closeButtonStyle(m_pictureDir));
    ui->MinButton->setStyleSheet(plainButtonStyle(m_pictureDir, "Min.png", "MinHover.png", "MinClick.png"));
    ui->Repair->setStyleSheet("#Repair{border:0px;background-image: " + picture("Repair.png") +
                              ";background-position:center;background-repeat:no-repeat;}");
    ui->RightButton->setStyleSheet("QToolButton{border-image: " + picture("Right.png") + ";}QToolButton:hover{border-image: " +
                                   picture("RightClick.png") + ";}");
    ui->LeftButton->setStyleSheet("QToolButton{border-image: " + picture("Left.png") + ";}QToolButton:hover{border-image: " +
                                  picture("LeftClick.png") + ";}");
    ui->comboBox->applySkinWhenOpened(m_pictureDir);
    ui->stackedWidget->setStyleSheet(tileStyleSheet(m_pictureDir));
    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this, &DialogChange::openTilePage);

    ui->label_2->show();
    ui->label_3->show();
    ui->LeftButton->hide();
    ui->RightButton->hide();

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigLanguageSameA(int)), this, SLOT(SlotSameLanguageA(int)));
    connect(hub, SIGNAL(SigUpDateButton(bool)), this, SLOT(SlotUpDateButton(bool)));
    connect(hub, SIGNAL(SigEnterKey()), this, SLOT(SlotEnterKey()));
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(ChangeDialogLanguage(int)));

    ui->Repair->hide();
    if (updateFailureRecorded())
        ui->Repair->show();

    ModelCount = UserConfig::instance()->modelCount();

    const int language = currentLanguageIndex();
    ui->comboBox->setCurrentIndex(language);
    ChangeDialogLanguage(language);
    reportDamagedInstall();

    StartUsbChanged(OnChoicePageUsbChanged, HotPlugSettleMs);
}

DialogChange::~DialogChange()
{
    if (g_page == this)
        g_page = nullptr;
    delete m_damagedNotice;
    delete ui;
}

DialogChange* DialogChange::instance()
{
    return g_page;
}

void OnChoicePageUsbChanged()
{
    DialogChange* page = DialogChange::instance();
    if (!page)
        return;
    // The library delivers hot-plug calls on the GUI thread; a call from anywhere else is
    // handed over there, since the rebuild creates and deletes widgets.
    if (QThread::currentThread() != page->thread()) {
        QMetaObject::invokeMethod(page, [] { OnChoicePageUsbChanged(); }, Qt::QueuedConnection);
        return;
    }
    page->RescanAndBuild();
}

void DialogChange::applyRepairState()
{
    if (updateFailureRecorded()) {
        ui->Repair->show();
        ui->label_2->setText(RepairText);
    } else {
        ui->Repair->hide();
        ui->label_2->setText(noDeviceCaption());
    }
}

void DialogChange::RescanAndBuild()
{
    applyRepairState();
    RescanChoiceDevices();
    BuildDeviceTiles();
}

void DialogChange::clearTiles()
{
    // A flow of a tile click may still run below us (a modal dialog's event loop delivered
    // this hot-plug call), so the old widgets go only once control is back in the event loop.
    for (const auto& button : qAsConst(m_tileButtons)) {
        if (button) {
            button->disconnect(this);
            button->hide();
        }
    }
    m_tileButtons.clear();
    m_offlineMarks.clear();
    m_connectionMarks.clear();
    m_badges.clear();
    while (ui->stackedWidget->count() > 0) {
        QWidget* page = ui->stackedWidget->widget(0);
        ui->stackedWidget->removeWidget(page);
        page->hide();
        page->deleteLater();
    }
}

void DialogChange::BuildDeviceTiles()
{
    clearTiles();

    if (ChoiceDeviceList.isEmpty()) {
        showNoTiles();
        return;
    }

    for (int i = 0; i < ChoiceDeviceList.size(); ++i)
        RefreshDeviceStatus(i);

    if (findDuplicatesAndPreferCable(ChoiceDeviceList, ModelCount)) {
        showNoTiles();
        // A later hot-plug call while the notice is open rebuilds without a second notice.
        if (m_duplicateNoticeOpen)
            return;
        m_duplicateNoticeOpen = true;
        {
            QuestiondialogB notice;
            placeCentred(&notice, this);
            notice.exec();
        }
        m_duplicateNoticeOpen = false;
        return;
    }

    ui->label_2->hide();
    ui->label_3->show();
    const QVector<int> pages = choicePageSizes(ChoiceDeviceList.size());
    int tile = 0;
    for (int tilesOnPage : pages) {
        // The tiles are made before the page joins the stack, so they show with it. Only the
        // first page shows with the window; the tiles of the others get their pictures when
        // their page first opens, so that the window's first show decodes none of them.
        auto* page = new QWidget;
        page->setProperty(OpenedProperty, tile == 0);
        for (int position = 0; position < tilesOnPage; ++position)
            makeTile(page, tile++, tilesOnPage, position);
        ui->stackedWidget->addWidget(page);
    }
    ui->stackedWidget->setCurrentIndex(0);

    ui->RightButton->setVisible(ChoiceDeviceList.size() > 3);
    ui->LeftButton->hide();

    for (int t = 0; t < m_tileButtons.size(); ++t) {
        mytoolButtonEnter* button = m_tileButtons.at(t);
        if (!button)
            continue;
        RefreshDeviceTile(t);
        connect(button, SIGNAL(clicked()), this, SLOT(slotButtonClicked()));
    }
}

void DialogChange::showNoTiles()
{
    ui->label_2->show();
    ui->label_3->hide();
    ui->LeftButton->hide();
    ui->RightButton->hide();
}

void DialogChange::makeTile(QWidget* page, int tile, int tilesOnPage, int position)
{
    const DeviceAllInfo& e = ChoiceDeviceList.at(tile);
    const ChoiceTilePlace place = choiceTilePlace(tilesOnPage, position);

    auto* button = new mytoolButtonEnter(page);
    button->setObjectName(QStringLiteral("btn%1").arg(tile));
    button->setFixedSize(284, 360);
    button->setFocusPolicy(Qt::NoFocus);
    button->move(place.button);
    m_tileButtons.append(button);
    // A listed model's picture follows its online state, set once the tile is refreshed.
    if (e.modelIndex == ModelCount)
        setTilePicture(tile, QString::fromLatin1(ChoiceUnknownPicture));

    // The offline and connection marks share one spot; at most one of them shows.
    const auto makeMark = [&](const QString& name, const QString& file) {
        auto* mark = new QLabel(page);
        mark->setObjectName(name.arg(tile));
        mark->setFixedSize(32, 32);
        mark->setFocusPolicy(Qt::NoFocus);
        mark->hide();
        choosePicture(mark, "picture", file);
        mark->move(place.mark);
        return mark;
    };
    QLabel* offline = makeMark(QStringLiteral("label%1"), QLatin1String(ChoiceOfflineMarkPicture));
    offline->setToolTip(OfflineTip1 + QLatin1Char('\n') + OfflineTip2);
    m_offlineMarks.append(offline);
    m_connectionMarks.append(makeMark(QStringLiteral("UsbWifi%1"), choiceConnectionPicture(e.cableFlag)));

    const QString badgePicture = choiceBadgePicture(e.kind);
    auto* badge = new QLabel(page);
    badge->setFixedSize(42, 26);
    badge->setFocusPolicy(Qt::NoFocus);
    badge->move(place.badge);
    if (!badgePicture.isEmpty())
        choosePicture(badge, "badge", badgePicture);
    m_badges.append(badge);
}

void DialogChange::setTilePicture(int tile, const QString& picture)
{
    if (picture.isEmpty() || tile >= m_tileButtons.size() || !m_tileButtons.at(tile))
        return;
    // Set, and so decoded, only when it changes: re-checking an unchanged tile costs nothing.
    mytoolButtonEnter* button = m_tileButtons.at(tile);
    if (!button->parentWidget()->property(OpenedProperty).toBool()) {
        button->setProperty(WaitingPictureProperty, picture);
        return;
    }
    if (button->property("picture").toString() == picture)
        return;
    choosePicture(button, "picture", picture);
}

void DialogChange::openTilePage(int index)
{
    QWidget* page = ui->stackedWidget->widget(index);
    if (!page || page->property(OpenedProperty).toBool())
        return;
    page->setProperty(OpenedProperty, true);
    for (int tile = 0; tile < m_tileButtons.size(); ++tile) {
        mytoolButtonEnter* button = m_tileButtons.at(tile);
        if (!button || button->parentWidget() != page)
            continue;
        const QString picture = button->property(WaitingPictureProperty).toString();
        button->setProperty(WaitingPictureProperty, QVariant());
        setTilePicture(tile, picture);
    }
}

void DialogChange::RefreshDeviceTile(int tile)
{
    // A tile that is being deleted can still report the pointer entering it.
    if (tile < 0 || tile >= ChoiceDeviceList.size())
        return;

    RefreshDeviceStatus(tile, true);
    const DeviceAllInfo copy = ChoiceDeviceList.at(tile);

    QLabel* offline = tile < m_offlineMarks.size() ? m_offlineMarks.at(tile).data() : nullptr;
    QLabel* connection = tile < m_connectionMarks.size() ? m_connectionMarks.at(tile).data() : nullptr;
    if (copy.modelIndex != ModelCount) {
        if (copy.online == 0) {
            setTilePicture(tile, choiceOfflinePicture(copy.mid));
            if (offline)
                offline->show();
            if (connection)
                connection->hide();
        } else {
            if (connection)
                connection->show();
            if (offline)
                offline->hide();
            setTilePicture(tile, choiceOnlinePicture(copy.mid));
        }
    } else {
        if (connection)
            connection->show();
        setTilePicture(tile, QString::fromLatin1(ChoiceUnknownPicture));
    }
}

void DialogChange::on_RightButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int count = ui->stackedWidget->count();
    const int current = ui->stackedWidget->currentIndex();
    if (current == count - 2) {
        ui->LeftButton->show();
        ui->RightButton->hide();
    }
    if (current + 1 < count)
        ui->stackedWidget->setCurrentIndex(current + 1);
}

void DialogChange::on_LeftButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int current = ui->stackedWidget->currentIndex();
    if (current == 1) {
        ui->LeftButton->hide();
        ui->RightButton->show();
    }
    if (current > 0)
        ui->stackedWidget->setCurrentIndex(current - 1);
}

void DialogChange::on_MinButton_clicked()
{
    PostMsg::instance()->SendChangeSize(2);
}

void DialogChange::on_CloseButton_clicked()
{
    PostMsg::instance()->SendChangeSize(3);
}

void DialogChange::on_Repair_clicked()
{
    runAfterHandler(this, [this] {
        UpDateRepair repair;
        placeCentred(&repair, this);
        repair.RunUpgrade();
        repair.exec();
    });
}

void DialogChange::SlotEnterKey()
{
    if (ui->Repair->isVisible())
        on_Repair_clicked();
}

void DialogChange::SlotUpDateButton(bool IsHide)
{
    ui->Repair->setVisible(!IsHide);
    ui->label_2->setText(IsHide ? noDeviceCaption() : RepairText);
}

void DialogChange::on_comboBox_activated(int index)
{
    MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    PostMsg::instance()->SendChangeLanguage(index);
    PostMsg::instance()->SendLanguageSameB(index);
}

void DialogChange::SlotSameLanguageA(int index)
{
    ui->comboBox->setCurrentIndex(index);
}

void DialogChange::ChangeDialogLanguage(int index)
{
    static const QStringList known = {QStringLiteral("label_2"),      QStringLiteral("label_3"),
                                      QStringLiteral("OfflineTips1"), QStringLiteral("OfflineTips2"),
                                      QStringLiteral("RepairDevice"), QStringLiteral("MouseIsNewTips")};
    loadLanguageSection(index, QStringLiteral("DialogChange"), known, [this](const QString& element, const QString& text) {
        if (element == QLatin1String("label_2")) {
            NoDeviceText = text;
            if (!ui->Repair->isVisible())
                ui->label_2->setText(noDeviceCaption());
        } else if (element == QLatin1String("label_3")) {
            ui->label_3->setText(text);
        } else if (element == QLatin1String("OfflineTips1")) {
            OfflineTip1 = text;
        } else if (element == QLatin1String("OfflineTips2")) {
            OfflineTip2 = text;
        } else if (element == QLatin1String("RepairDevice")) {
            RepairText = text;
            if (ui->Repair->isVisible())
                ui->label_2->setText(text);
        } else if (element == QLatin1String("MouseIsNewTips")) {
            MouseIsNewText = text;
        }
    });
    for (const auto& mark : qAsConst(m_offlineMarks)) {
        if (mark)
            mark->setToolTip(OfflineTip1 + QLatin1Char('\n') + OfflineTip2);
    }
    if (m_damagedList) {
        m_damagedListText = DamagedInstall::faultText(DamagedInstall::Fault::DeviceList, index);
        if (!ui->Repair->isVisible())
            ui->label_2->setText(noDeviceCaption());
    }
}

QString DialogChange::noDeviceCaption() const
{
    return m_damagedList ? m_damagedListText : NoDeviceText;
}

void DialogChange::reportDamagedInstall()
{
    DamagedInstall::Fault fault;
    if (!DamagedInstall::findFault(&fault))
        return;
    m_damagedList = fault == DamagedInstall::Fault::DeviceList;
    ChangeDialogLanguage(currentLanguageIndex());
    // Opened from the event loop once the page is up, and without a loop of its own: the page
    // goes on following the devices behind it.
    QTimer::singleShot(0, this, [this, fault] {
        // A window of its own, like every notice; it goes with the page at the latest.
        m_damagedNotice = new DamagedInstall(fault);
        m_damagedNotice->setAttribute(Qt::WA_DeleteOnClose);
        placeCentred(m_damagedNotice, window());
        m_damagedNotice->open();
    });
}

void DialogChange::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Qt's translation was installed: the form's own texts came back, so the language
        // section goes on top again and the box keeps the language the user chose.
        const int language = currentLanguageIndex();
        const bool blocked = ui->comboBox->blockSignals(true);
        ui->retranslateUi(this);
        ui->comboBox->setCurrentIndex(language);
        ui->comboBox->blockSignals(blocked);
        ChangeDialogLanguage(language);
    }
    QWidget::changeEvent(event);
}

void DialogChange::slotButtonClicked()
{
    emit frameNeeded();
    PostMsg::instance()->SendSetver(6);

    QObject* source = sender();
    if (!source)
        return;
    QString name = source->objectName();
    name.remove(QStringLiteral("btn"));
    const int t = name.toInt();
    if (t < 0 || t >= ChoiceDeviceList.size())
        return;
    // The flows below open modal dialogs; a hot-plug rescan meanwhile replaces the list, so
    // everything works on this copy.
    const DeviceAllInfo e = ChoiceDeviceList.at(t);
    const QString group = CatalogueModelGroup(e.modelIndex);
    const int mid = UserConfig::instance()->value(group, QStringLiteral("MID")).toInt();
    ChosenModelId = mid;
    const int pictureNumber = choicePictureNumber(mid);
    if (pictureNumber >= 0)
        PostMsg::instance()->SendMouseIndex(pictureNumber);

    if (ChoiceDeviceList.size() == 2) {
        const DeviceAllInfo first = ChoiceDeviceList.at(0);
        const DeviceAllInfo second = ChoiceDeviceList.at(1);
        if (first.cid == second.cid && first.mid == second.mid && (t == 0 || t == 1)) {
            const QByteArray firstPath = first.path.toLocal8Bit();
            const QByteArray secondPath = second.path.toLocal8Bit();
            const bool firstOnline = UsbFinderC_GetDeviceOnLine(firstPath.constData()) != 0;
            const bool secondOnline = UsbFinderC_GetDeviceOnLine(secondPath.constData()) != 0;
            if (t == 0 && !firstOnline && secondOnline) {
                runAfterHandler(this, [this, first] { ChoiceFlows::RunReceiverFlow(first, this); });
                return;
            }
            if (t == 1 && firstOnline && !secondOnline) {
                runAfterHandler(this, [this, second] { ChoiceFlows::RunReceiverFlow(second, this); });
                return;
            }
        }
    }

    if (e.modelIndex == ModelCount) {
        if (e.cableFlag == 0)
            runAfterHandler(this, [this, e] { ChoiceFlows::RunReceiverFlow(e, this); });
        return;
    }

    selectDevice(e);
}

void DialogChange::selectDevice(const DeviceAllInfo& e)
{
    // The Worker takes the record as the current device; the firmware check below reads the
    // current device's catalogue model, so this comes first.
    PostMsg::instance()->SendSelectMouseInfo(e);

    ReportReceiverFirmware(e.firmwareVersion, ChoiceFlows::receiverType(e.kind));
    PostMsg::instance()->SendChangeMainDialog(1);
    QThread::msleep(ProgramWaits::scaled(ProgramWaits::TileClickMs));
    // The run opens the link only while the frame is shown, so the flag is set before the start.
    MainPageActive = 1;
    if (Worker* worker = Worker::instance())
        worker->StartRun();
    else
        RunRequested = 1;
}
