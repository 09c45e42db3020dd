#include "pages/settings/LanSetting.h"

#include "ui_LanSetting.h"

#include "common/LanguageNames.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/Worker.h"
#include "pages/settings/Match.h"
#include "widgets/AfterHandler.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QUrl>

LanSetting::LanSetting(QWidget* parent)
    : OwnedDialog(parent)
    , ui(new Ui::LanSetting)
{
    ui->setupUi(this);
    // The form's labels are white: on the desktop's light window colour they could not be read.
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(30, 35, 42));
    setPalette(dark);
    setAutoFillBackground(true);
    fillLanguageBox();
    m_transition = UserConfig::instance()->value(QStringLiteral("Option"), QStringLiteral("Transition")).toInt();
}

LanSetting::~LanSetting()
{
    delete ui;
}

void LanSetting::fillLanguageBox()
{
    // Item index = language index. The box starts at the first item, whatever is stored.
    const bool blocked = ui->comboBox->blockSignals(true);
    ui->comboBox->clear();
    ui->comboBox->addItems(LanguageNames());
    ui->comboBox->setCurrentIndex(0);
    ui->comboBox->blockSignals(blocked);
}

void LanSetting::ShowVersions()
{
    const DeviceVersions versions = CurrentDeviceVersions(CurrentDeviceRecord(), MainPageDeviceList);
    ui->label_2->setText(versions.receiver);
    ui->label_5->setText(versions.mouse);
}

void LanSetting::on_comboBox_activated(int index)
{
    MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    PostMsg::instance()->SendChangeLanguage(index);
    PostMsg::instance()->SendLanguageSameA(index);
}

void LanSetting::on_pushButton_clicked()
{
    QDesktopServices::openUrl(QUrl(ui->pushButton->text(), QUrl::TolerantMode));
}

void LanSetting::on_pushButton_2_clicked()
{
    const QRect area = geometry();
    // The pairing belongs to the window this dialog belonged to.
    const QPointer<QWidget> opener = owner();
    if (!m_busy)
        close();
    // This dialog may be gone by then (closed above): the pairing needs nothing of it.
    runAfterHandler(qApp, [area, opener] {
        Match match;
        match.SetPairButtonImage();
        match.move(area.x() + area.width() / 2 - 220, area.y() + area.height() / 2 - 120);
        match.setOpener(opener);
        match.exec();
        // The pairing dialog left the choice page's hot-plug callback registered.
        ResumeFrameLinkAfterPairing();
    });
}

void LanSetting::on_Receive_clicked() {}

void LanSetting::on_Mouse_clicked() {}

void LanSetting::mousePressEvent(QMouseEvent* event)
{
    m_pressGlobal = event->globalPos();
    m_pressWindowPos = pos();
    m_dragOffset = m_pressGlobal - m_pressWindowPos;
}

void LanSetting::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = QRect(0, 0, 548, 302).contains(event->pos());
    if (event->buttons() == Qt::LeftButton && !isMaximized() && !m_dragOffset.isNull() && inside)
        move(event->globalPos() - m_dragOffset);
}

void LanSetting::mouseReleaseEvent(QMouseEvent*)
{
    m_dragOffset = QPoint(0, 0);
}

void LanSetting::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int index = ui->comboBox->currentIndex();
        const bool blocked = ui->comboBox->blockSignals(true);
        ui->retranslateUi(this);
        ui->comboBox->setCurrentIndex(index);
        ui->comboBox->blockSignals(blocked);
    }
    QDialog::changeEvent(event);
}
