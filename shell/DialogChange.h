#pragma once
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "device/DeviceAllInfo.h"

class DamagedInstall;
class QLabel;
class mytoolButtonEnter;
namespace Ui {
class DialogChange;
}

// The device-choice page: one picture tile per mouse or receiver that the device library finds
// under the catalogue's ids, three to a page, with paging arrows, the language choice and the
// firmware repair button. It never scans by itself: the library's hot-plug call
// (OnChoicePageUsbChanged) rescans and rebuilds the tiles. A tile click chooses the device.
class DialogChange : public QWidget {
    Q_OBJECT
public:
    explicit DialogChange(QWidget* parent = nullptr);
    ~DialogChange() override;

    // The page, reached by the hot-plug callback; null while there is none.
    static DialogChange* instance();

    // What the hot-plug call does: repair state, rescan, tiles.
    void RescanAndBuild();

    // Replaces every tile with one per record of ChoiceDeviceList (or shows the notice of
    // identical devices and no tile).
    void BuildDeviceTiles();

    // Texts of the current language (empty until a language file supplied them).
    QString noDeviceText() const { return NoDeviceText; }
    QString repairText() const { return RepairText; }

public slots:
    // Re-checks the device of tile `tile` and updates its picture and marks.
    void RefreshDeviceTile(int tile);

    void on_MinButton_clicked();
    void on_CloseButton_clicked();
    void on_LeftButton_clicked();
    void on_RightButton_clicked();
    void on_Repair_clicked();
    void on_comboBox_activated(int index);
    void SlotSameLanguageA(int index);
    void SlotUpDateButton(bool IsHide);
    void SlotEnterKey();
    void ChangeDialogLanguage(int index);
    // A tile was clicked: choose its device, or offer pairing and repair for a lone receiver.
    void slotButtonClicked();

signals:
    // A tile click is about to choose a device: whatever listens to the choice must exist.
    void frameNeeded();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Shows the repair button and the repair text while a failed update is recorded.
    void applyRepairState();
    void clearTiles();
    // No tile to show: the no-device text instead of the tile caption, no paging arrows.
    void showNoTiles();
    void makeTile(QWidget* page, int tile, int tilesOnPage, int position);
    void setTilePicture(int tile, const QString& picture);
    // A tile page opened for the first time: its tiles take the pictures they wait for.
    void openTilePage(int index);
    void selectDevice(const DeviceAllInfo& e);
    // A damaged device list or English language file: the notice that says so, and the device
    // list's fault as the caption where the page would ask for a mouse.
    void reportDamagedInstall();
    QString noDeviceCaption() const;

    Ui::DialogChange* ui;
    QString m_pictureDir;
    // Tile widgets by tile number; the badges only so that they can be deleted.
    QList<QPointer<mytoolButtonEnter>> m_tileButtons;
    QList<QPointer<QLabel>> m_offlineMarks;
    QList<QPointer<QLabel>> m_connectionMarks;
    QList<QPointer<QLabel>> m_badges;
    bool m_duplicateNoticeOpen = false;
    bool m_damagedList = false;
    QString m_damagedListText;
    QPointer<DamagedInstall> m_damagedNotice;

    QString NoDeviceText;
    QString RepairText;
    QString OfflineTip1;
    QString OfflineTip2;
};

// The choice page's hot-plug callback: rescans the devices and rebuilds the tiles.
void OnChoicePageUsbChanged();
