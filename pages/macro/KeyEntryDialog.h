#pragma once
#include "common/DialogFrame.h"

class QCheckBox;
class QLabel;

// Shared frame of the five small dialogs that take keys and values: the notice frame with a
// confirm button "NewHong", a cancel button "NewHong_2" and the close button, plus the dialog's
// own form set up on the background frame. Entry fields take the catalogue's "LinEditColor",
// extra labels and check boxes "LabelColor".
class KeyEntryDialog : public DialogFrame {
    Q_OBJECT
protected:
    struct Setup {
        QString frameName;
        QString section;
        QRect label;
        QString labelText;
        int confirmX;
        int cancelX;
        QString confirmText;  // the form's text of "NewHong"
        QStringList moreElements;  // language elements beyond "label", "NewHong", "NewHong_2"
    };
    static DialogLayout layoutOf(const Setup& setup);

    using DialogFrame::DialogFrame;

    void styleEntry(QWidget* entry) const;
    void styleLabel(QLabel* label) const;
    void styleCheckBox(QCheckBox* box) const;
    // Gives `entry` the focus and takes every other widget out of the focus chain, so that Tab
    // and Space reach the entry (and the keyboard hook) instead of moving to a button.
    void keepFocusOn(QWidget* entry);
};
