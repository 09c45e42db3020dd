#pragma once
#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <cstdint>

namespace Ui {
class UpDateRepair;
}

// The automatic-repair dialog. For now it only holds the image its firmware check chose and
// shows the program's dialog frame with its close button.
class UpDateRepair : public QDialog {
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // Chooses the image for a repair with the looser rule: any matching image whose version
    // differs from the device's is accepted (an older one too), the highest version is held
    // in the dialog's image list; the list is left as it was when nothing is accepted.
    static bool CheckFirmwareFile(UpDateRepair* dialog, uint8_t kind, QString deviceVersion, QString modelName,
                                  uint8_t cid, uint8_t mid);

    // Puts the dialog into repair mode with `index` for the image CheckFirmwareFile chose.
    // For now the repair itself is not run: the index is only kept.
    void StartRepair(int index);
    int RepairIndex() const { return m_repairIndex; }

    // The image chosen by CheckFirmwareFile (at most one element).
    const QList<QByteArray>& RepairImages() const { return m_images; }

public slots:
    void on_CloseButton_clicked();

private:
    Ui::UpDateRepair* ui;
    QList<QByteArray> m_images;
    int m_repairIndex = -1;
};
