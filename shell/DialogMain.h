#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

class QAction;
class QKeyEvent;
class QMenu;
class QWindow;
class DialogChange;
class Dialog;
namespace Ui {
class DialogMain;
}

// The program's only top-level window: a frameless 1020 x 700 window holding a two-page
// stack, the device-choice page (0) and the configuration frame (1). It points the device
// library's hot-plug watch at the page shown, hides to the tray icon or quits on request,
// opens the mouse-offline notice, handles the window drag and a few keys, and takes over
// the installer's language choice once at start. The frame is built when a tile is first
// clicked: until then the user sees only the tiles.
class DialogMain : public QDialog {
    Q_OBJECT
public:
    explicit DialogMain(QWidget* parent = nullptr);
    ~DialogMain() override;

    // Registry key where the installer leaves its language choice ("LanguageIndex").
    static QString installerRegistryPath();

    enum StackPage { ChoicePage = 0, FramePage = 1 };
    int currentPage() const;
    // The configuration frame, built on the first call (the first tile click) and kept.
    Dialog* frame();
    QSystemTrayIcon* trayIcon() const { return m_trayIcon; }

public slots:
    void SlotChangeMainDialog(int index);
    void SlotChangeSize(int index);
    void SlotMouseOffLine(int index);
    void on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason);
    void slotActionMain();
    void slotActionExitApp();
    void SlotChangeLanguage(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Whether the desktop offers a system tray; without one, hiding to the tray minimises.
    virtual bool hasSystemTray() const;
    // Ends the process at once with `status`, running no clean-up.
    virtual void endProcess(int status);

private:
    void takeOverInstallerLanguage();
    void hideToTray();
    void quitProgram();
    // Stops the hot-plug watch and closes the data link, once the events still due have run.
    void endDeviceWork();
    // Back from the tray (or from the minimised window that stands in for it).
    void restoreWindow(bool restoreDriverStatus);
    void pairOnFrame();
    // Handles Space sent to the window's focused control; returns whether it was taken.
    bool takesSpace(QKeyEvent* event);
    // Opens the offline notice asked for by SlotMouseOffLine, once no mouse button is held.
    void showOfflineNotice();

    QMenu* m_trayMenu = nullptr;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QAction* m_showAction = nullptr;
    QAction* m_exitAction = nullptr;
    Ui::DialogMain* ui;
    // Set by a press that reached the window itself (no control took it), cleared by every
    // press and release the window gets.
    bool m_dragging = false;
    // Set once the quit has begun: the close that follows does not do its work again.
    bool m_quitting = false;
    QPointer<QWindow> m_watchedWindow;
    // The buttons held on the window, as its last press or release left them.
    Qt::MouseButtons m_heldButtons;
    QPoint m_pressGlobal;
    QPoint m_pressWindowPos;
    DialogChange* m_choicePage = nullptr;
    QString m_pictureDir;
    Dialog* m_frame = nullptr;
    QString m_showText;
    QString m_exitText;
    bool m_trayConnected = false;
    bool m_minimisedForTray = false;
    // An offline notice is asked for or shown; reports meanwhile fold into it.
    bool m_offlineNoticeDue = false;
    int m_offlineNoticeText = 0;
    QElapsedTimer m_offlineNoticeAsked;
};
