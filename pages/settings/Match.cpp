#include "pages/settings/Match.h"

#include "ui_Match.h"

#include "common/DialogFrame.h"
#include "common/SkinStyles.h"
#include "shell/DialogChange.h"
#include "common/StyleSheetUrl.h"

#include "HIDUsb.h"

namespace {
constexpr int HotPlugSettleMs = 600;
}

Match::Match(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Match)
{
    ui->setupUi(this);
    setWindowFlags(dialogWindowFlags());
    connect(ui->CloseButton, SIGNAL(clicked()), this, SLOT(WindowClosedSet()));
    ui->label->hide();

    // The notice dialogs' pictures, stretched to this dialog's size.
    const QString folder = pictureFolder(QStringLiteral("WarningDialog"));
    const auto picture = [&folder](const char* file) { return styleSheetUrl(folder + QLatin1String(file)); };
    const QString labelColor = skinColor(QStringLiteral("LabelColor"));
    const QString buttonColor = skinColor(QStringLiteral("ButtonColor"));
    ui->MatchA->setStyleSheet(QStringLiteral("#MatchA{border:0px;border-image: ") + picture("BackGround.png")
                              + QStringLiteral(";}"));
    ui->CloseButton->setStyleSheet(QStringLiteral("QToolButton{border:0px;border-image: ") + picture("Close.png")
                                   + QStringLiteral(";}QToolButton:hover{border-image: ") + picture("CloseHover.png")
                                   + QStringLiteral(";}QToolButton:pressed{border-image: ") + picture("CloseClick.png")
                                   + QStringLiteral(";}"));
    ui->MatchButton->setStyleSheet(QStringLiteral("QPushButton{border:0px;color: rgb(") + buttonColor
                                   + QStringLiteral(");border-image: ") + picture("Confirm.png")
                                   + QStringLiteral(";}QPushButton:pressed{border-image: ") + picture("ConfirmClick.png")
                                   + QStringLiteral(";}"));
    ui->label->setStyleSheet(labelColorStyle(labelColor));
}

Match::~Match()
{
    delete ui;
}

void Match::SetPairButtonImage()
{
    ui->MatchButton->setEnabled(true);
}

void Match::WindowClosedSet()
{
    StartUsbChanged(OnChoicePageUsbChanged, HotPlugSettleMs);
    QDialog::reject();
}

void Match::reject()
{
    WindowClosedSet();
}
