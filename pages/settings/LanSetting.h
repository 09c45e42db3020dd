#pragma once
#include "common/OwnedDialog.h"
#include <QPoint>

class QEvent;
class QMouseEvent;
namespace Ui {
class LanSetting;
}

// The language and company dialog that the frame's hidden settings button opens: language
// choice, the receiver's and the mouse's firmware versions, pairing and the company's web
// address. A normal window with the system's title bar; its texts are the form's own.
class LanSetting : public OwnedDialog {
    Q_OBJECT
public:
    explicit LanSetting(QWidget* parent = nullptr);
    ~LanSetting() override;

    // Fills the two version labels from the current device.
    void ShowVersions();

public slots:
    void on_comboBox_activated(int index);
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    // The update buttons start nothing here: the settings page offers the update.
    void on_Receive_clicked();
    void on_Mouse_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fillLanguageBox();

    Ui::LanSetting* ui;
    QPoint m_dragOffset;
    QPoint m_pressGlobal;
    QPoint m_pressWindowPos;
    // Only an update run from here would set it; it keeps the pair button from closing the dialog.
    bool m_busy = false;
    // The catalogue's "Option"/"Transition"; only the update controls would use it.
    int m_transition = 0;
};
