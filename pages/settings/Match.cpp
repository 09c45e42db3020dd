#include "pages/settings/Match.h"

#include "ui_Match.h"

#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/TraceLog.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DataLink.h"
#include "device/DeviceRecords.h"
#include "device/FoundDevicePaths.h"
#include "device/SharedFlags.h"
#include "shell/DialogChange.h"

#include "HIDUsb.h"

#include <QDebug>
#include <QEvent>
#include <QTimer>

std::atomic<uint8_t> PairingActive{0};
std::atomic<int> PairResult{0};
std::atomic<int> MatchTextStep{0};
std::atomic<uint8_t> RestoreMainPage{0};

namespace {

constexpr int HotPlugSettleMs = 600;
constexpr uint8_t PairStatusKind = 6;
constexpr uint8_t ReceiverFailed = 2;
constexpr uint8_t ReceiverPaired = 3;

// The result hands the frame back its hot-plug and poll duties.
void restoreMainPageAfterPairing()
{
    uint8_t expected = 1;
    if (RestoreMainPage.compare_exchange_strong(expected, 0))
        MainPageActive = 1;
}

}  // namespace

void PairCallback(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength)
{
    qCDebug(kavroTrace) << "in2";
    const int kind = header && headerLength >= 2 ? header[1] : 0;
    qCDebug(kavroTrace) << kind;
    if (kind != PairStatusKind || !data || dataLength < 1)
        return;
    const uint8_t status = data[0];
    if (status != ReceiverFailed && status != ReceiverPaired)
        return;
    const bool paired = status == ReceiverPaired;
    PostMsg::instance()->SendTimerStop();
    PairingActive = 0;
    qCDebug(kavroTrace) << (paired ? "success" : "fail");
    PairResult = paired ? 2 : 3;
    PostMsg::instance()->SendButtonEnable(paired ? 1 : 0);
    restoreMainPageAfterPairing();
}

Match::Match(QWidget* parent)
    : OwnedDialog(parent)
    , ui(new Ui::Match)
    , m_pairTimer(new QTimer(this))
    , m_receiverTimer(new QTimer(this))
    , m_textTimer(new QTimer(this))
{
    ui->setupUi(this);
    setWindowFlags(dialogWindowFlags());
    setAttribute(Qt::WA_TranslucentBackground);
    ui->label->hide();

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    connect(hub, SIGNAL(SigTimerStop()), this, SLOT(SlotStopTimer()));
    connect(hub, SIGNAL(SigButtonEnable(int)), this, SLOT(SlotButtonenable(int)));
    connect(ui->CloseButton, SIGNAL(clicked()), this, SLOT(WindowClosedSet()));

    m_pairTimer->setInterval(PairPollMs);
    m_receiverTimer->setInterval(ReceiverCheckMs);
    m_textTimer->setInterval(TextStepMs);
    connect(m_pairTimer, SIGNAL(timeout()), this, SLOT(onPairTimeupDestroy()));
    connect(m_receiverTimer, SIGNAL(timeout()), this, SLOT(onUSBTimeupDestroy()));
    connect(m_textTimer, SIGNAL(timeout()), this, SLOT(onTextTimeupDestroy()));

    m_pictureDir = pictureFolder(QStringLiteral("Setting"));
    m_buttonColor = skinColor(QStringLiteral("ButtonColor"));
    const QString labelColor = skinColor(QStringLiteral("LabelColor"));
    const auto picture = [this](const char* file) { return styleSheetUrl(m_pictureDir + QLatin1String(file)); };
    ui->MatchA->setAttribute(Qt::WA_StyledBackground);
    ui->MatchA->setStyleSheet(QStringLiteral("#MatchA{border:0px;border-image: ") + picture("BackSecondPage.png")
                              + QStringLiteral(";}"));
    ui->toolButton_2->setStyleSheet(QStringLiteral("QToolButton{border:0px;color: rgb(255, 255, 255);border-image: ")
                                    + picture("Picture.png") + QStringLiteral(";}"));
    ui->toolButton_3->setStyleSheet(QStringLiteral("QToolButton{border:0px;background: transparent;}"));
    ui->CloseButton->setStyleSheet(plainButtonStyle(m_pictureDir, "CloseSecondPage.png", "CloseSecondPageHover.png",
                                                    "CloseSecondPageClick.png"));
    ui->textEdit->setStyleSheet(QStringLiteral("QTextEdit{background: transparent;border:0px;color: rgb(") + labelColor
                                + QStringLiteral(");}"));
    ui->label->setStyleSheet(labelColorStyle(labelColor));
    styleMatchButton("Pair.png", m_buttonColor);

    // Until a language file says otherwise, the form's own language.
    m_buttonText = ui->MatchButton->text();
    m_pairingText = QStringLiteral("配对中");
    m_failText = QStringLiteral("配对失败");
    m_successText = QStringLiteral("配对成功");
    SlotChangeLanguage(currentLanguageIndex());
}

Match::~Match()
{
    // A dialog destroyed in the middle of a run (the program ends) leaves no run behind.
    if (PairingActive.exchange(0) == 1)
        restoreMainPageAfterPairing();
    delete ui;
}

void Match::styleMatchButton(const char* picture, const QString& textColor)
{
    const QString style = QStringLiteral("QPushButton{border:0px;color: rgb(") + textColor
                          + QStringLiteral(");border-image: ") + styleSheetUrl(m_pictureDir + QLatin1String(picture))
                          + QStringLiteral(";}");
    // The receiver check asks for the refused look ten times a second: restyle only on a change.
    if (ui->MatchButton->styleSheet() != style)
        ui->MatchButton->setStyleSheet(style);
}

void Match::setButtonText(const QString& text)
{
    // A button's new text replaces its shortcut with the text's mnemonic: Space goes back on.
    ui->MatchButton->setText(text);
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
}

void Match::SetPairButtonImage()
{
    MatchTextStep = 0;
    PairResult = 0;
    ui->MatchButton->setEnabled(true);
    styleMatchButton("Pair.png", m_buttonColor);
    setButtonText(m_buttonText);

    // The receiver to pair. The choice page's list may have been emptied by a hot-plug
    // rebuild meanwhile, and the frame's path may be empty: then there is nothing to pair.
    DeviceAllInfo record;
    bool found = true;
    if (MainPageActive.load() == 1)
        record = CurrentDeviceRecord();
    else if (PairChosenDevice.load() == 1)
        record = PairingDevice;
    else if (!ChoiceDeviceList.isEmpty())
        record = ChoiceDeviceList.first();
    else
        found = false;
    m_hasReceiver = found && !record.path.isEmpty();
    m_receiverPath = record.path;
    m_vendorId = record.vendorId;
    m_productId = record.productId;
    m_wired = record.cableFlag;
    m_cid = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();

    onUSBTimeupDestroy();
    m_receiverTimer->start(ReceiverCheckMs);
}

void Match::onUSBTimeupDestroy()
{
    if (PairingActive.load() == 0) {
        // Without a receiver the instructions stay, with the button refused.
        m_pairAllowed = m_hasReceiver && m_wired == 0;
        const bool onCable = m_hasReceiver && m_wired != 0;
        ui->label->setVisible(onCable);
        ui->textEdit->setVisible(!onCable);
    }
    ui->MatchButton->setEnabled(m_pairAllowed);
    if (!m_pairAllowed)
        styleMatchButton("Pair.png", QStringLiteral("0,0,0"));
}

void Match::on_MatchButton_clicked()
{
    if (PairResult.load() == 2 || !m_pairAllowed)
        return;
    PairResult = 1;
    m_textTimer->start(TextStepMs);
    setButtonText(m_pairingText);
    styleMatchButton("Pair.png", m_buttonColor);
    if (MainPageActive.load() == 1) {
        MainPageActive = 0;
        RestoreMainPage = 1;
    }

    PairingActive = 0;
    qCDebug(kavroTrace) << "Enter";
    PairingActive = 1;
    m_pairTimer->start(PairPollMs);
    OpenPairingLink(m_receiverPath.toUtf8(), PairCallback);
    UsbServer_EnterDonglePairOnlyCid(uint8_t(m_cid & 0xFF));
}

void Match::onTextTimeupDestroy()
{
    static const char* const Dots[] = {"", ".", "..", "..."};
    int step = MatchTextStep.load();
    if (step < 0 || step > 4)
        step = 0;
    // Step 4 shows the plain text again and goes on with one dot.
    const int shown = step == 4 ? 0 : step;
    setButtonText(m_pairingText + QLatin1String(Dots[shown]));
    MatchTextStep = shown + 1;
}

void Match::onPairTimeupDestroy()
{
    UsbServer_ReadDonglePairStatus();

    const QByteArray vendorId = m_vendorId.toLatin1();
    const QByteArray productId = m_productId.toLatin1();
    int count = MaxPathsPerId;
    char** found = UsbFinderC_FindHidDevicesByDefaultDeviceId(vendorId.constData(), productId.constData(), &count);
    const QStringList paths = CopyFoundPaths(found, count, PathEncoding::Utf8);
    const bool present = paths.contains(m_receiverPath);

    if (!present && PairingActive.load() == 1) {
        // The receiver left the bus: the same failure as its own report, without a signal.
        m_pairTimer->stop();
        m_textTimer->stop();
        PairingActive = 0;
        PairResult = 3;
        restoreMainPageAfterPairing();
        setButtonText(m_failText);
        styleMatchButton("PairFail.png", m_buttonColor);
    }
}

void Match::SlotStopTimer()
{
    m_pairTimer->stop();
    m_textTimer->stop();
}

void Match::SlotButtonenable(int index)
{
    if (index == 1) {
        setButtonText(m_successText);
        styleMatchButton("PairSuccess.png", m_buttonColor);
        ui->MatchButton->setEnabled(false);
    } else if (index == 0) {
        setButtonText(m_failText);
        styleMatchButton("PairFail.png", m_buttonColor);
    }
}

void Match::WindowClosedSet()
{
    if (PairingActive.load() == 1)
        return;
    StartUsbChanged(OnChoicePageUsbChanged, HotPlugSettleMs);
    m_pairTimer->stop();
    m_receiverTimer->stop();
    m_textTimer->stop();
    QDialog::reject();
}

void Match::reject()
{
    WindowClosedSet();
}

void Match::SlotChangeLanguage(int index)
{
    const QStringList known{QStringLiteral("label"),    QStringLiteral("textEdit"),  QStringLiteral("MatchButton"),
                            QStringLiteral("Matching"), QStringLiteral("MatchFail"), QStringLiteral("MatchSuccess")};
    loadLanguageSection(index, QStringLiteral("Match"), known, [this](const QString& element, const QString& text) {
        if (element == QLatin1String("label")) {
            ui->label->setText(text);
        } else if (element == QLatin1String("textEdit")) {
            ui->textEdit->setText(text);
        } else if (element == QLatin1String("MatchButton")) {
            setButtonText(text);
            m_buttonText = text;
        } else if (element == QLatin1String("Matching")) {
            m_pairingText = text;
        } else if (element == QLatin1String("MatchFail")) {
            m_failText = text;
        } else {
            m_successText = text;
        }
    });
}

void Match::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
