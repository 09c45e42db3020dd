#include "pages/macro/AddDelayTime.h"

#include "ui_AddDelayTime.h"

AddDelayTime::AddDelayTime(QWidget* parent)
    : KeyEntryDialog(layoutOf({QStringLiteral("AddDelayTimeA"), QStringLiteral("AddDelayTime"), QRect(30, 25, 241, 41),
                               QStringLiteral("Please enter the delay time"), 40, 160, QStringLiteral("确定"), {}}),
                     parent)
    , ui(new Ui::AddDelayTime)
{
    ui->setupUi(background());
    styleEntry(ui->spinBox);
    ui->spinBox->setFocus();
    confirmWithReturn(button(QStringLiteral("NewHong")));
    finishSetup();
}

AddDelayTime::~AddDelayTime()
{
    delete ui;
}

void AddDelayTime::on_NewHong_clicked()
{
    ui->spinBox->interpretText();
    Accepted = true;
    DelayValue = ui->spinBox->value();
    accept();
}

void AddDelayTime::on_NewHong_2_clicked()
{
    Accepted = false;
    reject();
}

void AddDelayTime::on_CloseButton_clicked()
{
    on_NewHong_2_clicked();
}
