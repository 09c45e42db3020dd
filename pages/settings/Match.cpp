#include "pages/settings/Match.h"

#include "ui_Match.h"

#include "common/DialogFrame.h"
#include "shell/DialogChange.h"

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
