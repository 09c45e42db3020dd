#include "pages/macro/FireKey.h"

#include "ui_FireKey.h"

namespace {
DialogLayout fireKeyLayout()
{
    DialogLayout layout;
    layout.size = QSize(406, 170);
    layout.frameName = QStringLiteral("FireKeyA");
    layout.section = QStringLiteral("FireKey");
    layout.elements = QStringList{QStringLiteral("label"), QStringLiteral("label_2"), QStringLiteral("label_3"),
                                  QStringLiteral("NewHong"), QStringLiteral("NewHong_2")};
    layout.closeButton = QRect(380, 5, 20, 20);
    layout.label = QRect(60, 28, 170, 20);
    layout.labelText = QStringLiteral("次数 (0-3)");
    layout.labelPointSize = 9;
    layout.labelAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    layout.buttons = {{QStringLiteral("NewHong"), QRect(60, 137, 90, 24), QStringLiteral("确认")},
                      {QStringLiteral("NewHong_2"), QRect(256, 137, 90, 24), QStringLiteral("取消")}};
    layout.stretchBackground = true;
    return layout;
}
}  // namespace

FireKey::FireKey(QWidget* parent)
    : KeyEntryDialog(fireKeyLayout(), parent)
    , ui(new Ui::FireKey)
{
    ui->setupUi(background());
    ui->label_2->setFont(label()->font());
    ui->label_3->setFont(label()->font());
    styleLabel(ui->label_2);
    styleLabel(ui->label_3);
    styleEntry(ui->Count);
    styleEntry(ui->Time);
    ui->Count->setFocus();
    confirmWithReturn(button(QStringLiteral("NewHong")));
    finishSetup();
}

FireKey::~FireKey()
{
    delete ui;
}

void FireKey::setCount(int count)
{
    ui->Count->setValue(count);
}

void FireKey::setTime(int time)
{
    ui->Time->setValue(time);
}

void FireKey::on_NewHong_clicked()
{
    // A half-typed value falls back to the last valid one, as the field then shows.
    ui->Time->interpretText();
    ui->Count->interpretText();
    Accepted = true;
    FireTime = ui->Time->value();
    FireCount = ui->Count->value();
    accept();
}

void FireKey::on_NewHong_2_clicked()
{
    Accepted = false;
    reject();
}

void FireKey::on_CloseButton_clicked()
{
    on_NewHong_2_clicked();
}
