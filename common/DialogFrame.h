#pragma once
#include "common/OwnedDialog.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class QFrame;
class QLabel;
class QToolButton;
namespace Ui {
class DialogFrame;
}

// The window flags of every notice, confirmation and busy dialog: frameless, with system menu
// and minimise hints. On Windows the value 0x6C12, a sub-window that bypasses the window
// manager; elsewhere a dialog the window manager keeps, transient for its owner (OwnedDialog).
Qt::WindowFlags dialogWindowFlags();

// Keeps the text of `label` at least 12 px off the left and right edges of a dialog `dialogWidth`
// wide, through the label's contents margins, so that a wrapped line never touches the frame.
// The label's geometry stays as its form gives it.
void keepTextOffDialogEdges(QLabel* label, int dialogWidth);

// Moves `dialog` so that it is centred over `over` (integer division), then `left` pixels left
// and `up` pixels up; an OwnedDialog takes `over` as its opener. Does nothing when either is null.
void placeCentred(QWidget* dialog, const QWidget* over, int left = 0, int up = 0);

// What one dialog of the family looks like: everything that differs between the dialogs.
struct DialogLayout {
    struct Button {
        QString name;  // object name: "NewHong", "OK" or "Cancel"
        QRect geometry;
        QString text;  // the form's text, kept when the language file lacks it
    };
    QSize size{300, 140};  // the dialog and its background frame
    QString pictureFolderName = QStringLiteral("WarningDialog");  // under "<program>/Picture/"
    QString frameName;  // object name of the background frame, selected by its style sheet
    QString section;    // section of the language file
    QStringList elements;  // language elements the dialog reads; others are skipped
    QRect closeButton{275, 5, 20, 20};
    QRect label;
    QString labelText;
    int labelPointSize = 11;
    Qt::Alignment labelAlignment = Qt::AlignCenter;
    QVector<Button> buttons;
    QString confirmImage = QStringLiteral("Confirm.png");
    QString confirmPressedImage = QStringLiteral("ConfirmClick.png");
    bool stretchBackground = false;  // "BackGround.png" drawn as a border image over the whole frame
};

// Shared frame of the notice and confirmation dialogs: a frameless dialog (300 x 140 unless the
// layout says otherwise) with a painted background, a text label, a close button and the dialog's
// tool buttons, skinned from "<program>/Picture/WarningDialog/" (or the layout's picture folder)
// and the catalogue colours "LabelColor" and "ButtonColor",
// with texts from the dialog's section of the current language file. It follows the hub's
// language changes. The buttons reach the subclass's on_<name>_clicked slots by object name.
class DialogFrame : public OwnedDialog {
    Q_OBJECT
public:
    ~DialogFrame() override;

    // Object name of the background frame.
    QString frameName() const;

public slots:
    // Reads the dialog's section of the language file `index` (any index outside 0..5: English).
    void SlotChangeLanguage(int index);

protected:
    DialogFrame(const DialogLayout& setup, QWidget* parent);

    // Ends construction; every subclass calls it last in its constructor: connects the button
    // slots by name and loads the current language.
    void finishSetup();

    // Applies one element of the section. By default the element names the widget that shows it.
    virtual void applyText(const QString& element, const QString& text);

    QLabel* label() const;
    QToolButton* button(const QString& name) const;
    // The painted background frame that holds every widget of the dialog; a dialog's own form
    // is set up on it.
    QFrame* background() const;
    // The Return key clicks `button` (the dialog's confirm button). Kept across language changes:
    // a button's new text would otherwise drop its shortcut.
    void confirmWithReturn(QToolButton* button);

private:
    Ui::DialogFrame* ui;
    DialogLayout m_layout;
    QToolButton* m_returnButton = nullptr;
};
