#pragma once
#include "pages/macro/KeyEntryDialog.h"
#include "pages/macro/KeyHook.h"

namespace Ui {
class addKey;
}

// Asks for one key for the macro event list: the keyboard hook reports every key while the
// dialog is open, and the field shows the name of the latest one.
class addKey : public KeyEntryDialog {
    Q_OBJECT
public:
    explicit addKey(QWidget* parent = nullptr);
    ~addKey() override;

    bool Accepted = false;
    QString KeyName;  // name of the key of the latest key event; empty for a key without one

public slots:
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void on_CloseButton_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    Ui::addKey* ui;
    KeyHookB m_hook;
};
