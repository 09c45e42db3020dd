#include "pages/sensor/DebounceTime.h"

#include "ui_DebounceTime.h"

#include "common/DialogFrame.h"
#include "common/SkinStyles.h"
#include "device/DeviceSetters.h"
#include "device/SharedFlags.h"
#include "dialogs/LessThree.h"
#include "widgets/AfterHandler.h"

namespace {
// Debounce times below this invite double clicks: the user is advised after the write.
constexpr int AdviseBelowMs = 8;
}  // namespace

DebounceTime::DebounceTime(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::DebounceTime)
{
    ui->setupUi(this);  // the entries exist before the slot is connected: filling them writes nothing
    m_pictureDir = pictureFolder(QStringLiteral("Buttoninterface"));
    setStyleSheet(QStringLiteral("DebounceTime{border:0px;background:transparent;}"));  // only the list shows
    ui->Debunce->applySkin(m_pictureDir);
    ui->Debunce->setMaxVisibleItems(5);
}

DebounceTime::~DebounceTime()
{
    delete ui;
}

void DebounceTime::setCurrentIndex(int index)
{
    ui->Debunce->setCurrentIndex(index);
}

int DebounceTime::currentIndex() const
{
    return ui->Debunce->currentIndex();
}

void DebounceTime::setItemSuffix(int index, const QString& suffix)
{
    if (index >= 0 && index < ui->Debunce->count())
        ui->Debunce->setItemText(index, QString::number(index) + suffix);
}

void DebounceTime::on_Debunce_currentIndexChanged(int index)
{
    // A fill shows what the mouse (or its cache file) holds: sending it back could overwrite
    // a newer value in the mouse, so only the user's choice is written.
    if (!WriteEnabled || ButtonPageBusy)
        return;
    if (index < 0 || index >= EntryCount)
        return;
    // Refused: the list shows the mouse's entry again, and there is nothing to advise on.
    if (!SetDebounceTime(uint8_t(index))) {
        ui->Debunce->showPressIndex();
        return;
    }
    if (index >= AdviseBelowMs)
        return;

    runAfterHandler(this, [this] {
        LessThree notice;
        placeCentred(&notice, this, 409, 202);
        notice.exec();
    });
}
