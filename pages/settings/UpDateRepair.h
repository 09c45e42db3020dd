#pragma once
#include <QByteArray>
#include "common/OwnedDialog.h"
#include <QList>
#include <QString>
#include <cstdint>

class QTimer;
namespace Ui {
class UpDateRepair;
}

// The automatic-repair dialog: repeats a failed firmware update. RunUpgrade reads the record the
// failed update left, chooses the image again, checks that exactly one device waits in boot
// mode and starts the upgrade with a percentage; the outcome removes or rewrites the record.
// Callers that chose the image themselves put the dialog into repair mode (StartRepair), which
// skips the record and the device count. Building the dialog starts nothing.
class UpDateRepair : public OwnedDialog {
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // Chooses the image for a repair with the looser rule: any matching image whose version
    // differs from the device's is accepted (an older one too), the highest version is held
    // in the dialog's image list; the list is left as it was when nothing is accepted.
    static bool CheckFirmwareFile(UpDateRepair* dialog, uint8_t kind, QString deviceVersion, QString modelName,
                                  uint8_t cid, uint8_t mid);

    // Repair mode with the image CheckFirmwareFile chose, then RunUpgrade.
    void StartRepair(int index);
    int RepairIndex() const { return m_repairIndex; }
    // Chooses the image (unless in repair mode), checks the boot devices and starts the upgrade.
    // Starts at most once per dialog.
    void RunUpgrade();

    // The image chosen by CheckFirmwareFile (at most one element).
    const QList<QByteArray>& RepairImages() const { return m_images; }

public slots:
    void SlotAutoRepair(int index);
    void SlotAutoRepairProgress(int index);
    void SlotChangeLanguage(int index);
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    // Escape and the window's close: refused while the upgrade runs, like the close button.
    void reject() override;

private:
    void showMessage(const QString& text);
    // The record a failure in repair mode writes: taken from the held image's header.
    QStringList recordFromImage() const;

    Ui::UpDateRepair* ui;
    QList<QByteArray> m_images;
    bool m_armed = true;
    bool m_repairMode = false;
    int m_repairIndex = -1;
    QString m_pictureFolder;
    QString UpdateNotMoveText;
    QString NoDeviceText;
    QString SameDeviceText;
    QString UpdateFailText;
    QString UpdateSuccessText;
    QString BadFileText;
    QTimer* m_watchdog = nullptr;
};
