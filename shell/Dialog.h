#pragma once
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>

class QButtonGroup;
class Buttoninterface;
class LampLight;
class Macro;
class Sensor;
class FormSetting;
class UpDataParam;
class BackgroundPicture;
namespace Ui {
class Dialog;
}

// The configuration frame: the five configuration pages in a stack with the row of page
// buttons above them, the battery display, the back arrow to the device choice and the
// minimise and close buttons. It owns the busy dialog that the device side asks for when a
// load starts. The dialogs opened while it is on screen are for its mouse: when the window goes
// back to the device choice, they close as if cancelled.
class Dialog : public QWidget {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

    // Stack positions of the pages.
    enum Page { ButtonPage = 0, SensorPage = 1, MacroPage = 2, LightPage = 3, SettingsPage = 4 };

    UpDataParam* busyDialog() const { return m_busy; }
    // The program quits: no load report opens the busy dialog any more, and a run of it ends.
    void endLoads();

public slots:
    void WindowMin();
    void on_ButtonMain_clicked();
    void on_SensorButton_clicked();
    void on_MacroButton_clicked();
    void on_LightsButton_clicked();
    void on_FormSetting_clicked();
    void on_UpArrow_clicked();
    void on_CloseButton_clicked();
    void on_SetButton_clicked();
    void SlotSecondDialog();
    void SlotUpDataParam(int index);
    void SlotStartRecord(int index);
    void SlotBattery(bool IsCharg, int Number, bool IsText);
    void SlotMouseIndex(int index);
    // Builds the pages besides the button page, once.
    void buildPages();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The battery display without a level.
    void clearBattery();
    void applySkin();
    // Gives the frame the background of the chosen model.
    void applyBackground();
    void restyleListPopups();
    void showButtonPage();
    void showPage(int page);
    // One modal run of the busy dialog for a load report with `index` (1: wait mode).
    void runBusyDialog(int index);
    // The mouse is no longer the frame's: every dialog opened for it is cancelled.
    void cancelMouseDialogs();
    // Starts the busy dialog's wait that a run asked for, once the pages exist.
    void startBusyWaitOnceBuilt();

    Ui::Dialog* ui;
    QButtonGroup* m_groupA = nullptr;
    QButtonGroup* m_pageButtons = nullptr;
    Buttoninterface* m_buttonPage = nullptr;
    LampLight* m_lightPage = nullptr;
    Macro* m_macroPage = nullptr;
    Sensor* m_sensorPage = nullptr;
    FormSetting* m_settingsPage = nullptr;
    UpDataParam* m_busy = nullptr;
    QString m_pictureDir;
    // The chosen model's background picture, set once the frame is shown.
    QString m_background;
    BackgroundPicture* m_backgroundView = nullptr;  // the background picture, behind every other widget
    // Dialogs shown while the frame was on screen, still open or already gone.
    QList<QPointer<QDialog>> m_mouseDialogs;
    bool m_buildingPages = false;
    bool m_busyRunning = false;
    bool m_busyWaitsForPages = false;  // a run's wait starts when the pages are built
    // A load report that arrived while the busy dialog ran, and its argument.
    bool m_loadPending = false;
    int m_pendingBusyMode = 0;
    bool m_loadsEnded = false;
};
