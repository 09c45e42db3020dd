#pragma once
#include <QDialog>
#include <QPointer>

// Base of the program's own dialogs: a window that belongs to the window it was opened from.
// That window is the dialog's transient parent, which under X11 lets the window manager keep
// the dialog above it (and not above other programs), minimise and restore the two together and
// give the dialog the keyboard on a click; on Windows it is the dialog's owner window.
//
// The window it belongs to is decided at each show: the topmost modal dialog when one runs (a
// dialog opened over another belongs to it), else the window of the opener that
// placeCentred() or setOpener() named, else the active window. While that window is hidden (in
// the tray) or minimised, the dialog waits and shows once the window is back, not alone on
// the desktop; exec() keeps running meanwhile and a close ends it as usual.
class OwnedDialog : public QDialog {
    Q_OBJECT
public:
    explicit OwnedDialog(QWidget* parent = nullptr);
    ~OwnedDialog() override;

    // The widget the dialog is opened from; its window becomes the dialog's owner.
    void setOpener(const QWidget* opener);
    // The window the dialog belongs to since its last show (null without one).
    QWidget* owner() const;
    // Whether the dialog waits for its owner to come back before it shows.
    bool waitsForOwner() const { return m_waiting; }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* currentOwner() const;
    void showOverOwner();
    void stopWaiting();

    QPointer<const QWidget> m_opener;
    QPointer<QWidget> m_owner;
    bool m_waiting = false;
};
