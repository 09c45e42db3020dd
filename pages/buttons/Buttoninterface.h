#pragma once
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "device/FlashDataMap.h"

namespace Ui {
class Buttoninterface;
}
class QAbstractButton;
class QButtonGroup;
class QToolButton;
class Worker;

// The button assignment page: the mouse picture with its numbered markers, the key list
// whose eight selectors name what each mouse key does, the function-type list with its
// pages, the onboard-profile box and the debounce list. It fills itself from the mouse, the
// cache file or the factory state, and owns the Worker that opens the device link.
class Buttoninterface : public QWidget {
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    // Stops the device side: no further run, the Worker joined, the hot-plug watch stopped.
    ~Buttoninterface() override;

    // Binding of each binding index (see SelectorTable): type, first code, second code.
    QVector<int> BindingType;
    QVector<int> BindingCode1;
    QVector<int> BindingCode2;

    // The model's "Sensor" entry, set by every fill.
    QString SensorName;
    // The language texts put before a macro name on a selector, and before a profile number.
    QString MacroPrefixText;
    QString ProfileItemPrefix;
    // "<program folder>/Picture/Buttoninterface/" and the per-user "MainPage" folder.
    QString PicturePath;
    QString MainPageFolder;
    // "Option"/"ButtonColor" as read, and as "r,g,b".
    QStringList ButtonColorList;
    QString ButtonColorText;

    // Sets the selector of a binding index (0..7) to the name of that binding. Types 5 and 6
    // read the key's record from `image`; a macro read from the mouse (`fromMouse`) also
    // rewrites its repeat line and hands the image to the Macro page, a relabelling only names
    // it. A binding the page cannot name leaves the text as it was.
    void ShowBinding(int index, int type, int code1, int code2, const FlashDataMap& image, bool fromMouse = true);

    // Writes `text` as the only line of the macro's file (replacing what it held). A name
    // that cannot be a file name, or a file that cannot be written, is skipped silently.
    static void WriteMacroRepeatLine(const QString& name, const QString& text);

    // Applies the language section of `index`; firstLoad 0 also redraws the selectors.
    void InitLanguage(int firstLoad, int index);

    // The seventeen function-type buttons, in list order.
    QList<QToolButton*> functionTypeButtons() const;

    // Stores a binding at a binding index 0..7 after it reached the mouse. An index past
    // the vectors' end grows them, the entries between taken from the working image.
    void StoreSelectorBinding(int index, int type, int code1, int code2);
    // Unchecks the function pages' buttons (and the macro buttons); the function-type
    // list keeps its choice.
    void UncheckFunctionButtons();

    // The macro panel (ButtoninterfaceMacros.cpp). A macro's saved repeat field: the first
    // field of line 1 as written, "0" for a missing, empty or unreadable file or a name that
    // cannot be a file name.
    static QString ReadMacroRepeatValue(QString name);
    // The record the mouse gets for a saved macro: false, and the record zero, when writes
    // are not enabled, the name cannot be a file name or the file cannot be read.
    static bool ReadMacroFileRecord(QString name, MacroRecord* record);

    // One checkable button per macro (filled with the macro list).
    QList<QToolButton*> MacroButtons;

    // Writes the profile exchange file of `image` for the current model at `path`; an existing
    // file is replaced only by a complete one. False when the file cannot be written.
    bool WriteProfileFile(QString path, const FlashDataMap& image);

public slots:
    // After a full load or from the cache file (blocking delivery).
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    // After a profile import; leaves ButtonPageReady alone.
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    // No image available (blocking delivery): the factory state.
    void SlotFormResetButton();
    // The chosen model's picture index: picture, markers and the model's rows.
    void SlotMouseIndex(int index);
    // The onboard profiles (blocking delivery).
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotChangeLanguage(int index);
    // The macro panel follows the Macro page: a new list, a deleted, renamed or edited macro
    // (index 0: its events, after a wait; 1: its repeat mode; 2: a save about to be written,
    // whose debt to the keys is recorded first).
    void SlotAddMacroButton();
    void SlotDeleteMacroButton(QString MacroName);
    void SlotMacroRename(QString MacroName, QString NewName);
    void SlotUpDataMacro(QString MacroName, int index);

protected:
    // A press outside the work areas closes the function area; on the mouse picture it
    // also lets go of the chosen key.
    void mousePressEvent(QMouseEvent* event) override;
    // The form's texts come back when a translator is installed: the page keeps its own.
    void changeEvent(QEvent* event) override;

private slots:
    // Opening a key: its function shown, checked and scrolled into view.
    void on_FireKey_clicked();
    void on_RightKey_clicked();
    void on_BackKey_clicked();
    void on_StartPause_clicked();
    void on_TopMusic_clicked();
    void on_BackMusic_clicked();
    void on_Button7_clicked();
    // Choosing a key on the picture, without opening it.
    void on_Number1_clicked();
    void on_Number2_clicked();
    void on_Number3_clicked();
    void on_Number4_clicked();
    void on_Number5_clicked();
    void on_Number6_clicked();
    void on_Number7_clicked();
    void on_Number8_clicked();
    // Function types with a page of their own.
    void on_DPI_13_clicked();
    void on_DPI_11_clicked();
    void on_DPI_4_clicked();
    void on_DPI_9_clicked();
    void on_DPI_7_clicked();
    void on_DPI_12_clicked();
    void on_DPI_10_clicked();
    // Rapid fire and key combination, each through its dialog.
    void on_DPI_6_clicked();
    void on_DPI_8_clicked();
    void on_stackedWidget_currentChanged(int arg1);
    // The mouse as a whole: onboard profile, factory reset, profile export and import
    // (ButtoninterfaceProfiles.cpp). Only a choice by the user switches the profile.
    void on_ProjectChoose_activated(int index);
    void on_ProjectChoose_currentIndexChanged(int index);
    void on_Reset_clicked();
    void on_OutputData_clicked();
    void on_ImportData_clicked();

private:
    int lockValue(int code) const;
    int lockCode(int dpi) const;
    void InitButtonGroups();
    void connectFunctionButtons();
    // Sends a binding (with its record for type 5) to the checked key; on success the
    // selector shows `text`. The views close either way. True when sent.
    bool assign(const ButtonBinding& binding, const ButtonComboRecord* record, const QString& text, bool clearsFirst);
    void openSelector(int index);
    void checkMacroButtonOf(int index);
    void chooseByMarker(int number);
    // Binding index of the checked selector, -1 when none.
    int checkedSelector() const;
    bool holdsLeftClick(int index) const;
    // The key is the only one holding the left click: it may not be given anything else.
    bool onlyLeftClick(int index) const;
    void refuseLeftClickChange();
    // The guard before a dialog opens: true (and the notice shown) when refused.
    bool refusedBeforeDialog();
    // The dialogs behind rapid fire and key combination, opened once the click is handled;
    // an accepted one writes to the checked key.
    void askRapidFire();
    void askKeyCombination();
    // Queues one of them until the button is let go: the buttons act on the press, and again
    // on a double click, which makes no second dialog.
    void queueFunctionDialog(void (Buttoninterface::*ask)());
    void uncheckSelectors();
    void closeFunctionArea();

    // Reset and import place their dialogs over the page alike.
    void placeOverPage(QWidget* dialog) const;

    void fillFromImage(const FlashDataMap& image);
    // The binding vectors from the image ("KeyNumber" entries) and the selectors named.
    void loadBindings(const FlashDataMap& image, bool fromMouse = true);
    void showBindings(const FlashDataMap& image, bool fromMouse = true);
    void applyLanguageText(const QString& element, const QString& text);
    void redrawAfterLanguageChange();
    void relabelProfiles();
    void setDebounceIndex(int index);
    // Debounce items: "S1".."S19" name item n - 1, "S20" items 19 and 20.
    void setDebounceSuffix(int number, const QString& suffix);
    QToolButton* selector(int index) const;
    QString buttonText(const QString& objectName) const;
    QString modelGroup() const;

    // Macro panel: built once with the page, a click binds the chosen key to the macro.
    void InitMacroButtons();
    void slotButtonClicked(QToolButton* button, bool checked);
    // The macro a selector's text names ("" when it names none), NULs removed.
    QString macroNameOf(int index) const;
    void sendMacroEvents(const QString& name);
    // A save of the macro the keys show as `boundName` (`savedName` after a rename) is owed to
    // each of them until a write of that key goes out.
    void rememberForBoundKeys(const QString& boundName, const QString& savedName);
    bool holdsUnsentMacro(int key, QString* name) const;
    void sendUnsentMacros(const FlashDataMap& image);
    QString macroButtonStyle() const;
    // The function pages' buttons, in the order the group takes them.
    QList<QToolButton*> functionButtons() const;
    // The panel follows a new macro list: buttons made for new names, dropped for gone ones.
    void updateMacroButtons(const QStringList& names);
    QToolButton* makeMacroButton(const QString& text, int height);
    void dropMacroButton(QToolButton* button);
    // Unchecks the chosen macro button, if one is chosen.
    void uncheckMacroButtons();

    // Style sheets of the page (ButtoninterfaceSkin.cpp): the page's one sheet, and the
    // profile box's own.
    QString pageStyleSheet() const;
    void applyPageStyles();

    Ui::Buttoninterface* ui;
    Worker* m_worker = nullptr;
    bool m_functionDialogDue = false;
    QButtonGroup* SelectorGroup = nullptr;
    QButtonGroup* FunctionTypeGroup = nullptr;
    QButtonGroup* FunctionGroup = nullptr;
    // The macro buttons' own widget and layout, made once. The names its buttons show, in
    // order (MacroButtons holds them first, then the placeholders).
    QWidget* MacroPanel = nullptr;
    QStringList MacroButtonNames;
    int NextMacroButtonId = 0;
    // The last accepted rapid-fire interval and count.
    int FireTime = 10;
    int FireCount = 3;
};
