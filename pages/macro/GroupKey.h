#pragma once
#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyEntryDialog.h"
#include "pages/macro/KeyHook.h"

#include <QStringList>

namespace Ui {
class GroupKey;
}

// Asks for a key combination of at most three keys: modifier boxes (Shift, Ctrl, Alt, Win) and
// up to three keys caught by the keyboard hook while the dialog is open, shown joined with "+".
class GroupKey : public KeyEntryDialog {
    Q_OBJECT
public:
    explicit GroupKey(QWidget* parent = nullptr);
    ~GroupKey() override;

    bool Accepted = false;
    QString KeyText;  // the combination, names joined with "+"

    // The keys taken so far, whole names.
    QStringList keys() const { return m_keys; }

public slots:
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void on_CloseButton_clicked();
    void on_lineEdit_textEdited(const QString& arg1);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void showKeys();

    Ui::GroupKey* ui;
    KeyHookC m_hook;
    QStringList m_keys;
    int PlusCount = 0;      // keys shown at the last key, minus one
    int LastGroupKey = -1;  // code of the last key taken
    bool FirstKey = true;
    KeyTimer m_keyTimer;    // since the first key of the current entry
};
