#include "pages/settings/UpDateRepair.h"

#include "ui_UpDateRepair.h"

#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "device/FirmwareFiles.h"
#include "device/FirmwareUpgrade.h"
#include "device/SharedFlags.h"

#include "HIDUsb.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QPointer>
#include <QTimer>

namespace {

// How often the dialog looks whether its upgrade went silent.
constexpr int WatchdogCheckMs = 1000;

// The catalogue group "Drive" + n of the first model whose "MID" is `mid`; empty when none.
QString groupOfMid(int mid)
{
    UserConfig* config = UserConfig::instance();
    const int total = config->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
    for (int n = 1; n <= total; ++n) {
        const QString group = QStringLiteral("Drive") + QString::number(n);
        bool number = false;
        const int groupMid = config->value(group, QStringLiteral("MID")).toInt(&number);
        if (number && groupMid == mid)
            return group;
    }
    return QString();
}

// Keeps watching a repair whose dialog was closed before its final report, so a library that
// never finishes still gives the firmware back to the online poll.
void keepWatchingRepair()
{
    if (!RepairUpgradeRunning())
        return;
    QTimer::singleShot(ProgramWaits::scaled(WatchdogCheckMs), QCoreApplication::instance(), [] {
        if (!RepairUpgradeWatchdog())
            keepWatchingRepair();
    });
}

}  // namespace

UpDateRepair::UpDateRepair(QWidget* parent)
    : OwnedDialog(parent)
    , ui(new Ui::UpDateRepair)
{
    ui->setupUi(this);
    PostMsg* hub = PostMsg::instance();
    connect(hub, &PostMsg::SigChangeLanguage, this, &UpDateRepair::SlotChangeLanguage);
    m_pictureFolder = pictureFolder(QStringLiteral("WarningDialog"));
    setWindowFlags(dialogWindowFlags());
    const QString label = skinColor(QStringLiteral("LabelColor"));
    const QString button = skinColor(QStringLiteral("ButtonColor"));
    const QString& folder = m_pictureFolder;
    ui->ToolText->setStyleSheet(QStringLiteral("#ToolText{color: rgb(") + label
                                + QStringLiteral(");background-color:rgba(0,0,0,0);}"));
    ui->spinBox->setStyleSheet(QStringLiteral("#spinBox{border: none;background-color:rgba(0,0,0,0);color: rgb(")
                               + label + QStringLiteral(");}"));
    ui->NewHong->setStyleSheet(QStringLiteral("#NewHong{border:0px;background-position:center;background-repeat:no-repeat;"
                                              "color: rgb(")
                               + button + QStringLiteral(");border-image: ")
                               + styleSheetUrl(folder + QStringLiteral("Confirm.png"))
                               + QStringLiteral(";}QToolButton:pressed{border-image: ")
                               + styleSheetUrl(folder + QStringLiteral("ConfirmClick.png")) + QStringLiteral("; }"));
    ui->CloseButton->setStyleSheet(closeButtonStyle(folder));
    ui->AutoRepair->setStyleSheet(backgroundStyle(QStringLiteral("AutoRepair"), folder));
    connect(hub, &PostMsg::SigAutoRepair, this, &UpDateRepair::SlotAutoRepair);
    connect(hub, &PostMsg::SigAutoRepairProgress, this, &UpDateRepair::SlotAutoRepairProgress);
    ui->NewHong->hide();
    ui->spinBox->hide();
    ui->ToolText->setContentsMargins(10, 0, 10, 0);  // wrapped lines keep clear of the edges

    SlotChangeLanguage(currentLanguageIndex());
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));

    m_watchdog = new QTimer(this);
    connect(m_watchdog, &QTimer::timeout, this, [] { RepairUpgradeWatchdog(); });
}

UpDateRepair::~UpDateRepair()
{
    if (m_watchdog->isActive())
        keepWatchingRepair();
    delete ui;
}

bool UpDateRepair::CheckFirmwareFile(UpDateRepair* dialog, uint8_t kind, QString deviceVersion, QString modelName,
                                     uint8_t cid, uint8_t mid)
{
    if (!dialog)
        return false;
    return FirmwareFiles::CheckRepairFirmwareFile(FirmwareFiles::BinFolder(), dialog->m_images,
                                                  {kind, deviceVersion, modelName, cid, mid});
}

void UpDateRepair::StartRepair(int index)
{
    m_repairMode = true;
    m_repairIndex = index;
    RunUpgrade();
}

void UpDateRepair::showMessage(const QString& text)
{
    ui->ToolText->setText(text);
    ui->NewHong->show();
}

QStringList UpDateRepair::recordFromImage() const
{
    FirmwareFiles::FirmwareHeader header;
    if (!FirmwareFiles::ReadHeader(m_images.value(0), &header))
        return {};
    int type = 0;
    if (header.kind == FirmwareFiles::ReceiverKind) {
        const QString group = groupOfMid(header.mid);
        for (int t : {1, 2, 4}) {
            const QString name = group.isEmpty() ? QString()
                                                 : UserConfig::instance()->value(group, FirmwareFiles::ReceiverModelKey(t));
            if (!name.isEmpty() && name == header.modelName) {
                type = t;
                break;
            }
        }
    }
    return {QString::number(header.kind), QString::number(type), QString::number(header.cid),
            QString::number(header.mid)};
}

void UpDateRepair::RunUpgrade()
{
    if (!m_armed)
        return;
    if (!m_repairMode) {
        const QString stored = ReadFailRecord();
        const QStringList fields = ParseFailRecord(stored);
        if (fields.isEmpty()) {
            RemoveFailRecord();  // missing or malformed: nothing can be repaired from it
            return;
        }
        const QString group = groupOfMid(fields.at(3).toInt());
        if (group.isEmpty())
            return;  // no model of that MID: the record stays for a catalogue that knows it
        const int kind = fields.at(0).toInt();
        QString model;
        if (kind != FirmwareFiles::ReceiverKind) {
            model = UserConfig::instance()->value(group, QStringLiteral("MM"));
        } else {
            const QString key = FirmwareFiles::ReceiverModelKey(fields.at(1).toInt());
            if (!key.isEmpty())
                model = UserConfig::instance()->value(group, key);
        }
        bool refused = false;
        const bool found = FirmwareFiles::CheckRepairFirmwareFile(
            FirmwareFiles::BinFolder(), m_images,
            {uint8_t(kind), QString(), model, uint8_t(fields.at(2).toInt()),
             uint8_t(UserConfig::instance()->value(group, QStringLiteral("MID")).toInt())},
            &refused);
        if (!found) {
            if (refused)
                showMessage(BadFileText);
            return;
        }
        SetRepairFailRecord(fields);
    } else {
        SetRepairFailRecord(recordFromImage());
    }

    const QByteArray image = m_images.value(0);
    FirmwareFiles::FirmwareHeader header;
    if (!FirmwareFiles::ReadHeader(image, &header))
        return;  // nothing that was not checked is ever sent
    const auto* bytes = reinterpret_cast<const uint8_t*>(image.constData());
    int count = 5;
    UsbUpgradeC_FindBootDevices(bytes, uint32_t(image.size()), &count);
    if (!m_repairMode && count != 1) {
        showMessage(count == 0 ? NoDeviceText : SameDeviceText);
        return;
    }

    FirmwareIdle = 0;
    ui->ToolText->setText(UpdateNotMoveText);
    BeginRepairUpgrade(image);
    UsbUpgrade_Start(bytes, uint32_t(image.size()), OnRepairStatus, 10000);
    m_armed = false;
    ui->spinBox->show();
    ui->NewHong->hide();
    ui->spinBox->setValue(0);
    m_watchdog->start(ProgramWaits::scaled(WatchdogCheckMs));
}

void UpDateRepair::SlotAutoRepairProgress(int index)
{
    ui->spinBox->setValue(index);
}

void UpDateRepair::SlotAutoRepair(int index)
{
    m_watchdog->stop();
    ui->ToolText->setText(index != 0 ? UpdateFailText : UpdateSuccessText);
    ui->spinBox->hide();
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
    ui->NewHong->show();
}

void UpDateRepair::on_CloseButton_clicked()
{
    if (RepairBusy.load() != 0)
        return;
    QDialog::reject();
}

void UpDateRepair::on_NewHong_clicked()
{
    if (RepairBusy.load() != 0)
        return;
    QDialog::accept();
}

void UpDateRepair::reject()
{
    on_CloseButton_clicked();
}

void UpDateRepair::SlotChangeLanguage(int index)
{
    const QStringList known{QStringLiteral("ToolText"),   QStringLiteral("NewHong"),    QStringLiteral("UpdateNotMove"),
                            QStringLiteral("NoDevice"),   QStringLiteral("SameDevice"), QStringLiteral("UpdateFail"),
                            QStringLiteral("UpdateSuccess"), QStringLiteral("BadFile")};
    loadLanguageSection(index, QStringLiteral("AutoRepair"), known, [this](const QString& element, const QString& text) {
        if (element == QLatin1String("ToolText"))
            ui->ToolText->setText(text);
        else if (element == QLatin1String("NewHong"))
            ui->NewHong->setText(text);
        else if (element == QLatin1String("UpdateNotMove"))
            UpdateNotMoveText = text;
        else if (element == QLatin1String("NoDevice"))
            NoDeviceText = text;
        else if (element == QLatin1String("SameDevice"))
            SameDeviceText = text;
        else if (element == QLatin1String("UpdateFail"))
            UpdateFailText = text;
        else if (element == QLatin1String("UpdateSuccess"))
            UpdateSuccessText = text;
        else if (element == QLatin1String("BadFile"))
            BadFileText = text;
    });
}
