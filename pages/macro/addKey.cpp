#include "pages/macro/addKey.h"

#include "device/KeyNames.h"
#include "ui_addKey.h"

#include <QKeyEvent>

addKey::addKey(QWidget* parent)
    : KeyEntryDialog(layoutOf({QStringLiteral("addKeyA"), QStringLiteral("AddKey"), QRect(30, 25, 241, 41),
                               QStringLiteral("Please enter a button"), 40, 160, QStringLiteral("确定"), {}}),
                     parent)
    , ui(new Ui::addKey)
{
    ui->setupUi(background());
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    styleEntry(ui->lineEdit);
    m_hook.install();
    m_hook.bindCallback(this, &addKey::UpdateCapslockTip);
    keepFocusOn(ui->lineEdit);
    finishSetup();
}

addKey::~addKey()
{
    m_hook.uninstall();
    delete ui;
}

void addKey::UpdateCapslockTip(int keyCode, bool /*downOrUp*/, bool /*aotu*/)
{
    KeyName = VirtualKeyName(keyCode, KeyNameUser::AddKey).value_or(QString());
    ui->lineEdit->setText(KeyName);
}

void addKey::on_NewHong_clicked()
{
    Accepted = true;
    m_hook.uninstall();
    accept();
}

void addKey::on_NewHong_2_clicked()
{
    Accepted = false;
    m_hook.uninstall();
    reject();
}

void addKey::on_CloseButton_clicked()
{
    on_NewHong_2_clicked();
}

void addKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    KeyEntryDialog::keyPressEvent(event);
}

void addKey::done(int result)
{
    m_hook.uninstall();
    KeyEntryDialog::done(result);
}
