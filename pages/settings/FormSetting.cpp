#include "pages/settings/FormSetting.h"

#include "ui_FormSetting.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/LanguageNames.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/TraceLog.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/AutoStartFail.h"
#include "dialogs/Progress.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/CompanyFile.h"
#include "pages/settings/Match.h"
#include "widgets/AfterHandler.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

QString WiredModeText;
std::atomic<int> TransitionOption{0};

namespace {

// Where the version values and the update buttons stand for each language: label_5, Receive
// (label_7 and Mouse 30 px lower). Indexes outside the table take the last row.
struct VersionRow {
    int valueX;
    int buttonX;
};
constexpr VersionRow VersionRows[] = {{200, 280}, {200, 280}, {280, 330}, {170, 280}, {280, 330}, {280, 330}};
constexpr VersionRow OtherLanguageRow{235, 285};

const QStringList& sectionElements()
{
    static const QStringList elements{
        QStringLiteral("label"),      QStringLiteral("label_2"),    QStringLiteral("label_3"),
        QStringLiteral("label_4"),    QStringLiteral("label_6"),    QStringLiteral("label_8"),
        QStringLiteral("label_9"),    QStringLiteral("label_10"),   QStringLiteral("label_11"),
        QStringLiteral("label_14"),   QStringLiteral("textEdit"),   QStringLiteral("textEdit_2"),
        QStringLiteral("textEdit_3"), QStringLiteral("textEdit_4"), QStringLiteral("NewLabel"),
        QStringLiteral("pushButton_2"), QStringLiteral("pushButton"), QStringLiteral("Receive"),
        QStringLiteral("Mouse"),      QStringLiteral("WiredMode"),  QStringLiteral("NoDevice"),
        QStringLiteral("SameDevice"), QStringLiteral("VerNew"),     QStringLiteral("BadFile")};
    return elements;
}

int storedLanguage()
{
    return MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")).toInt();
}

}  // namespace

FormSetting::FormSetting(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::FormSetting)
{
    ui->setupUi(this);

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    connect(hub, SIGNAL(SigLanguageSameB(int)), this, SLOT(SlotLanguageSameB(int)));
    ConnectDeviceSlots();
    connect(hub, SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    connect(hub, SIGNAL(SigSetver(int)), this, SLOT(SetVer(int)));
    connect(hub, SIGNAL(SigLabelText(int, QString)), this, SLOT(SlotLabelText(int, QString)));
    connect(hub, SIGNAL(SigLabelTextB(QString, QString)), this, SLOT(SlotLabelTextB(QString, QString)));
    connect(hub, SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    connect(hub, SIGNAL(SigContinue(int)), this, SLOT(SlotContinue(int)));
    connect(ui->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &FormSetting::SlotScroolChange);
    ContinueRequested = 0;

    PicturePath = pictureFolder(QStringLiteral("FormSetting"));
    m_progress = new Progress;
    m_warning = new UpDateWarning;
    ReceiverLightGroup = new QButtonGroup(this);
    ReceiverLightGroup->setExclusive(true);

    TransitionOption = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("Transition")).toInt();
    ButtonColorText = skinColor(QStringLiteral("ButtonColor"));
    applyStyles();

    ui->toolButton_2->hide();
    ui->label_12->hide();
    ui->toolButton_3->hide();
    ui->label_13->hide();
    ReceiverNoteCode = 0;
    MouseNoteCode = 0;
    ui->scrollArea->setFrameShape(QFrame::NoFrame);

    // The update timers; the update steps start and stop them.
    ReceiverCheckTimer = new QTimer(this);
    MouseCheckTimer = new QTimer(this);
    ReceiverCheckTimer->setInterval(ProgramWaits::scaled(CheckTimerMs));
    MouseCheckTimer->setInterval(ProgramWaits::scaled(CheckTimerMs));
    connect(ReceiverCheckTimer, &QTimer::timeout, this, &FormSetting::onDongleCheckTimer);
    connect(MouseCheckTimer, &QTimer::timeout, this, &FormSetting::onMouseCheckTimer);

    // Item index = language index; a stored index outside the list shows the first item.
    ui->comboBox->addItems(LanguageNames());
    const int language = storedLanguage();
    ui->comboBox->setCurrentIndex(IsLanguageIndex(language) ? language : 0);
    LabelOrigin = ui->label->pos();
    SlotChangeLanguage(language);

    ui->checkBox->setChecked(MacroSetting::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable")).toInt() == 1);

    showLongRangeArea(false);
    showLightArea(false);
    setFullLayout(false);
    ReceiverLightGroup->addButton(ui->ReUntil);
    ReceiverLightGroup->addButton(ui->ReUntil_2);
    ReceiverLightGroup->addButton(ui->ReUntil_3);
    ui->Receive->hide();
    ui->NewLabel->hide();

    // Where the desktop offers no mouse settings, the link and its icon go.
    if (!m_mouseSettings.available()) {
        ui->pushButton->hide();
        ui->toolButton->hide();
    }
    // Built after the mouse was chosen: the page starts with its model's rows and the
    // receiver's version line told meanwhile.
    if (hub->lastMouseIndex() >= 0)
        SlotMouseIndex(hub->lastMouseIndex());
    const QStringList receiverLine = hub->lastReceiverLine();
    if (receiverLine.size() == 2)
        SlotLabelTextB(receiverLine.at(0), receiverLine.at(1));
}

FormSetting::~FormSetting()
{
    delete m_progress;
    delete m_warning;
    delete ui;
}

void FormSetting::applyStyles()
{
    const QString& P = PicturePath;
    const QString LC = skinColor(QStringLiteral("LabelColor"));
    const QString& BC = ButtonColorText;
    const QString CT = skinColor(QStringLiteral("ComboxTextColor"));
    const QString CB = skinColor(QStringLiteral("ComboxBackGroundColor"));
    const QString CS = skinColor(QStringLiteral("ComboxSelectColor"));
    const auto url = [&P](const char* file) { return styleSheetUrl(P + QLatin1String(file)); };

    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + LC + QStringLiteral(");}");
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                          ui->label_8, ui->label_9, ui->label_10, ui->label_11, ui->label_14})
        label->setStyleSheet(labelStyle);
    setUpdateStyle(ui->Receive, false);
    setUpdateStyle(ui->Mouse, false);
    ui->pushButton_2->setStyleSheet(QStringLiteral("QPushButton{border:0px;background-position:center;background-repeat:"
                                                   "no-repeat;color: rgb(")
                                    + BC + QStringLiteral(");background-image: ") + url("PariButton.png")
                                    + QStringLiteral(";}"));
    ui->pushButton->setStyleSheet(QStringLiteral("QPushButton{border:none;background:transparent;color: rgb(") + LC
                                  + QStringLiteral(");text-align : left;padding-right:1px;}"));
    const QString rightLink = QStringLiteral("QPushButton{border:none;background:transparent;color: rgb(") + LC
                              + QStringLiteral(");text-align : right;padding-right:1px;}");
    ui->pushButton_3->setStyleSheet(rightLink);
    ui->pushButton_4->setStyleSheet(rightLink);
    for (QToolButton* marker : {ui->TitleButton_2, ui->TitleButton_3, ui->TitleButton_4, ui->TitleButton_5,
                                ui->TitleButton_6, ui->TitleButton_7})
        marker->setStyleSheet(QLatin1Char('#') + marker->objectName() + QStringLiteral("{border-image: ") + url("Title.png")
                              + QStringLiteral(";}"));
    ui->toolButton->setStyleSheet(QStringLiteral("#toolButton{border-image: ") + url("Mouse.png") + QStringLiteral(";}"));
    ui->comboBox->setStyleSheet(
        QStringLiteral("QComboBox{border: 1px solid gray; color: rgb(") + CT + QStringLiteral("); border-image: ")
        + url("ComboboxBack.png") + QStringLiteral(";}QComboBox::drop-down:button{border-radius:5px; background:rgb(")
        + CB + QStringLiteral(");} QComboBox::down-arrow{image: ") + url("Menu.png")
        + QStringLiteral("; right: 8px; }QComboBox::down-arrow:on{ image: ") + url("MenuClicked.png")
        + QStringLiteral(";}QComboBox QAbstractItemView::item{height:25px;}QComboBox QAbstractItemView {outline: 0px "
                         "solid gray; border: 1px  solid gray;color: rgb(")
        + CT + QStringLiteral("); border-image: ") + url("ComboboxTextBack.png")
        + QStringLiteral(";selection-background-color: rgb(") + CS
        + QStringLiteral("); }QComboBox:disabled{color: rgb(0, 0, 0);}"));
    auto* view = new QListView(ui->comboBox);
    view->setStyleSheet(QStringLiteral("QListView::item:selected{background-color: rgb(") + CS
                        + QStringLiteral(");}QListView::item:hover{background-color: rgb(") + CS + QStringLiteral(");}"));
    ui->comboBox->setView(view);
    ui->comboBox->setMaxVisibleItems(5);
    for (QCheckBox* box : {ui->checkBox, ui->checkBox_2})
        box->setStyleSheet(QLatin1Char('#') + box->objectName() + QStringLiteral("{color: rgb(255, 255, 255);}#")
                           + box->objectName() + QStringLiteral("::indicator:unchecked{image: ") + url("CheckBox.png")
                           + QStringLiteral(";}#") + box->objectName() + QStringLiteral("::indicator:checked{image: ")
                           + url("CheckBoxChecked.png") + QStringLiteral(";}"));
    const QString lightBox = QStringLiteral("QCheckBox{color: rgb(") + LC
                             + QStringLiteral(");}QCheckBox:indicator::checked {image: ") + url("CheckBoxCheck.png")
                             + QStringLiteral(";}QCheckBox::indicator::unchecked {image: ") + url("CheckBox2.png")
                             + QStringLiteral(";}");
    for (QCheckBox* box : {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3})
        box->setStyleSheet(lightBox);
    for (QTextEdit* text : {ui->textEdit, ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        text->setStyleSheet(QLatin1Char('#') + text->objectName()
                            + QStringLiteral("{border: transparent;background-color: transparent;color: rgb(") + LC
                            + QStringLiteral(");}"));
    const QString note = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                                        "color: rgb(255,106,0);background-image: ")
                         + url("Picture.png") + QStringLiteral(";}");
    ui->toolButton_2->setStyleSheet(note);
    ui->toolButton_3->setStyleSheet(note);
    ui->scrollAreaWidgetContents->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));
}

void FormSetting::setUpdateStyle(QWidget* button, bool update)
{
    const QString base = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                                        "color: rgb(")
                         + ButtonColorText + QStringLiteral(");");
    if (update)
        button->setStyleSheet(base + QStringLiteral("background-image: ")
                              + styleSheetUrl(PicturePath + QStringLiteral("WaitUpdate.png"))
                              + QStringLiteral(";}QToolButton::hover{background-image: ")
                              + styleSheetUrl(PicturePath + QStringLiteral("WaitUpdateHover.png")) + QStringLiteral(";}"));
    else
        button->setStyleSheet(base + QStringLiteral("border-image: ")
                              + styleSheetUrl(PicturePath + QStringLiteral("Confirm.png")) + QStringLiteral(";}"));
}

void FormSetting::SetVer(int index)
{
    switch (index) {
    case 0: {
        const DeviceVersions v = CurrentDeviceVersions(CurrentDeviceRecord(), MainPageDeviceList);
        if (QDir(FirmwareFiles::BinFolder()).exists()) {
            MouseNewFirmware = CheckNewFirmware(FirmwareFiles::MouseKind, v.mouse, v.receiverType) ? 1 : 0;
            ReceiverUpdateAvailable = CheckNewFirmware(FirmwareFiles::ReceiverKind, v.receiver, v.receiverType) ? 1 : 0;
            setUpdateStyle(ui->Mouse, MouseNewFirmware.load() != 0);
            setUpdateStyle(ui->Receive, ReceiverUpdateAvailable.load() != 0);
        }
        ui->label_5->setText(v.receiver);
        ui->label_7->setText(v.mouse);
        break;
    }
    case 1:
        ui->toolButton_2->hide();
        ui->label_12->hide();
        ReceiverNoteCode = 0;
        break;
    case 2:
        ui->toolButton_3->hide();
        ui->label_13->hide();
        MouseNoteCode = 0;
        break;
    case 3:
        ui->Receive->setText(ReceiveText);
        ui->Mouse->setText(MouseText);
        break;
    case 4:
    case 5:
        SetVer(3);
        SetVer(2);
        SetVer(1);
        DongleLatestVersion = 0;
        MouseLatestVersion = 0;
        MouseCheckTimerEnable = 0;
        DongleCheckTimerEnable = 0;
        if (index == 5) {
            const DeviceVersions v = CurrentDeviceVersions(CurrentDeviceRecord(), MainPageDeviceList);
            ui->label_5->setText(v.receiver);
            ui->label_7->setText(v.mouse);
        }
        break;
    case 6:
        ui->label_5->clear();
        ui->label_7->clear();
        break;
    default:
        break;
    }
}

void FormSetting::SlotLabelText(int index, QString Text)
{
    if (index == 0) {
        qCDebug(kavroTrace) << "SlotLabel";
        ui->label_5->setText(Text);
        UpdateCurrentDeviceRecord([&Text](DeviceAllInfo& r) { r.firmwareVersion = Text; });
    } else if (index == 1) {
        ui->label_7->setText(Text);
        UpdateCurrentDeviceRecord([&Text](DeviceAllInfo& r) { r.mouseVersion = Text; });
    }
}

void FormSetting::SlotLabelTextB(QString TextA, QString Text)
{
    ui->label_5->setText(TextA);
    setUpdateStyle(ui->Receive, Text == QLatin1String("true"));
}

void FormSetting::SlotMouseIndex(int index)
{
    // Another tile was chosen: a light answer of the previous load no longer counts.
    LightAnswerPath.clear();
    ui->Receive->setVisible(index == 4);
    ui->Mouse->setVisible(index == 4);
}

void FormSetting::on_comboBox_activated(int index)
{
    MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    PostMsg::instance()->SendChangeLanguage(index);
    PostMsg::instance()->SendLanguageSameA(index);
}

void FormSetting::SlotLanguageSameB(int index)
{
    const bool blocked = ui->comboBox->blockSignals(true);
    ui->comboBox->setCurrentIndex(IsLanguageIndex(index) ? index : 0);
    ui->comboBox->blockSignals(blocked);
}

void FormSetting::placeVersionRow(int index)
{
    const VersionRow row = IsLanguageIndex(index) ? VersionRows[index] : OtherLanguageRow;
    ui->label_5->move(row.valueX, 155);
    ui->Receive->move(row.buttonX, 155);
    ui->label_7->move(row.valueX, 185);
    ui->Mouse->move(row.buttonX, 185);
    ui->toolButton_2->move(460, 160);
    ui->label_12->move(490, 158);
    ui->toolButton_3->move(460, 190);
    ui->label_13->move(490, 188);
}

void FormSetting::SlotChangeLanguage(int index)
{
    QFont buttonFont(QStringLiteral("微软雅黑"), 10);
    ui->Mouse->setFont(buttonFont);
    ui->Receive->setFont(buttonFont);
    placeVersionRow(index);
    if (index == 5) {
        buttonFont.setPointSize(7);
        ui->Mouse->setFont(buttonFont);
        ui->Receive->setFont(buttonFont);
    }
    if (!readSection(index, this))
        return;
    readCompanyFile();
}

void FormSetting::ReadLanguageTexts(int index)
{
    readSection(index, nullptr);
}

bool FormSetting::readSection(int index, FormSetting* page)
{
    const QString error = loadLanguageSection(index, QStringLiteral("FormSetting"), sectionElements(),
                                              [page](const QString& element, const QString& text) {
                                                  if (element == QLatin1String("WiredMode"))
                                                      WiredModeText = text;
                                                  else if (page)
                                                      page->applyText(element, text);
                                              });
    if (error.isEmpty())
        return true;
    qWarning().noquote() << error;
    // Neither the chosen file nor the English one could be opened: the page stays as it was.
    return CheckedFile::check(languageFilePath(0), MaxLanguageFileSize).ok();
}

void FormSetting::applyText(const QString& element, const QString& text)
{
    if (element == QLatin1String("Receive")) {
        ReceiveText = text;
        ui->Receive->setText(text);
    } else if (element == QLatin1String("Mouse")) {
        MouseText = text;
        ui->Mouse->setText(text);
    } else if (element == QLatin1String("NoDevice")) {
        NoDeviceText = text;
    } else if (element == QLatin1String("SameDevice")) {
        SameDeviceText = text;
    } else if (element == QLatin1String("VerNew")) {
        VerNewText = text;
    } else if (element == QLatin1String("BadFile")) {
        BadFileText = text;
    } else if (auto* edit = findChild<QTextEdit*>(element)) {
        edit->setText(text);  // plain or rich text, as the content says
    } else {
        setWidgetText(this, element, text);
    }
}

void FormSetting::readCompanyFile()
{
    const QString error = LoadCompanyFile(CompanyFilePath(), storedLanguage, [this](CompanyText which, const QString& text) {
        (which == CompanyText::Line ? ui->pushButton_4 : ui->pushButton_3)->setText(text);
    });
    if (!error.isEmpty())
        qWarning().noquote() << error;

    if (ReceiverNoteCode != 0)
        ui->label_12->setText(noteText(false, ReceiverNoteCode));
    if (MouseNoteCode != 0)
        ui->label_13->setText(noteText(true, MouseNoteCode));
}

void FormSetting::SlotScroolChange(int index)
{
    ui->label->move(LabelOrigin.x(), LabelOrigin.y() + index + 10);
}

void FormSetting::on_checkBox_clicked(bool checked)
{
    // The choice is kept only once the entry says so: a stored tick without an entry would show
    // a start with the system that never comes.
    if (!(checked ? m_autoStart.enable() : m_autoStart.disable())) {
        const QSignalBlocker blocker(ui->checkBox);
        ui->checkBox->setChecked(!checked);
        runAfterHandler(this, [this] {
            AutoStartFail notice;
            placeCentred(&notice, this, 75, 65);
            notice.exec();
        });
        return;
    }
    MacroSetting::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"),
                                       checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void FormSetting::on_pushButton_clicked()
{
    m_mouseSettings.launch();
}

void FormSetting::on_pushButton_2_clicked()
{
    runAfterHandler(this, [this] {
        Match match;
        match.SetPairButtonImage();
        placeCentred(&match, this, 70, 30);
        match.exec();
        // The pairing dialog left the choice page's hot-plug callback registered.
        ResumeFrameLinkAfterPairing();
    });
}

void FormSetting::on_pushButton_3_clicked()
{
    QDesktopServices::openUrl(QUrl(ui->pushButton_3->text(), QUrl::TolerantMode));
}

void FormSetting::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

bool FormSetting::CheckNewFirmware(int kind, QString deviceVersion, int receiverType)
{
    return FirmwareFiles::CheckNewFirmware(FirmwareFiles::BinFolder(), kind, deviceVersion, receiverType,
                                           CurrentDeviceRecord().modelIndex);
}

bool FormSetting::ScanFirmwareFiles(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    return FirmwareFiles::ScanFirmwareFiles(FirmwareFiles::BinFolder(), {kind, deviceVersion, modelName, cid, mid});
}

bool FormSetting::FindFirmwareFile(uint8_t kind, QString deviceVersion, QString modelName, uint8_t cid, uint8_t mid)
{
    // While an update runs, its image stays the chosen one: a search then only answers.
    if (DongleUpdate.load() == UpdateRunning || MouseUpdate.load() == UpdateRunning) {
        QList<QByteArray> scratch;
        return FirmwareFiles::FindFirmwareFile(FirmwareFiles::BinFolder(), scratch, {kind, deviceVersion, modelName, cid, mid});
    }
    return FirmwareFiles::FindFirmwareFile(FirmwareFiles::BinFolder(), FirmwareImages,
                                           {kind, deviceVersion, modelName, cid, mid});
}
