#pragma once
#include <QIcon>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

#include "device/FlashDataMap.h"
#include "device/MacroRecordCodec.h"

class MacroRecorder;
class QButtonGroup;
class QListWidgetItem;
class QMenu;
class QModelIndex;
namespace Ui {
class Macro;
}

// The macro editor page: the user's macros from the macro folder on the left, the events of
// the current one on the right (key presses and releases with a delay row between two events),
// repeat mode, hand insertion through the event chooser, recording start and stop, and Save,
// which writes the macro's file and tells the button page through the hub.
// The events shown always belong to the current entry of the macro list.
class Macro : public QWidget {
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);
    ~Macro() override;

    // Row operations. The append operations act only while a macro is current.
    void AddKeyItem(const QString& text, bool down);
    void AddDelayItem(double milliseconds);
    // Hand insertion at the current row: a key with a 10 ms delay, a mouse button's press and
    // release with 10 ms delays, or a delay before the current key.
    void InsertKeyEvent(const QString& name, bool down);
    void InsertMouseEvent(const QString& name);
    void InsertDelayEvent(int milliseconds);

    // The event rows as shown, and the current macro's name (empty when none).
    MacroRows rows() const;
    QString currentMacroName() const;
    // The repeat value of the ticked mode: 253, 254, 255 or the count.
    int repeatValue() const;
    // The prefix the button page shows before a macro's name.
    QString MacroRealText() const { return m_macroRealText; }

    // The list's context menu at a position of the macro list (the caller owns it).
    QMenu* buildContextMenu(const QPoint& pos);

    bool EventsChanged = false;
    bool RepeatChanged = false;

    // The key recorder (rows while recording).
    MacroRecorder* recorder() const { return m_recorder; }

    // Tests stop the world here: Save calls it once what the save owes is on disk and before
    // the macro file is written (where a kill would come between the two).
    static std::function<void()>& saveStepHook();

public slots:
    void SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SlotMacroDownLoadData(QString MacroName, int index);
    void SlotSetMacroPage();
    void SlotChangeLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_DeleteHong_clicked();
    void on_Amend_clicked();
    void on_ChooseEvent_activated(int index);
    void on_DeleteKey_clicked();
    void on_StartRecord_clicked();
    void on_StopRecord_clicked();
    void on_Save_clicked();
    void on_listWidgetKey_itemChanged(QListWidgetItem* item);
    void on_NumberEdit_valueChanged(int arg1);
    void on_listWidgetHong_clicked(const QModelIndex& index);
    void on_listWidgetHong_customContextMenuRequested(const QPoint& pos);
    void ExPortMacro();
    void InPortMacro();
    void RenameMacro();
    void DeleteMacro();
    void CreateMewMacro();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void applyStyles();
    void loadMacroList();
    void loadCurrentMacro();
    void onCurrentMacroChanged(int row);
    void setCurrentMacroRow(int row);
    void setRepeatControls(int repeat);
    // No macro chosen: no repeat mode shown, none of an earlier macro.
    void clearRepeatControls();
    void repeatChangedByUser();
    QString activeButtonStyle() const;
    void activateSave();
    void deactivateSave();
    void insertRows(const QVector<QPair<int, QListWidgetItem*>>& rows);
    QListWidgetItem* keyItem(const QString& name, bool release) const;
    QListWidgetItem* delayItem(qint64 milliseconds) const;
    bool isDelayRow(int row) const;
    bool refusedWhileRecording();
    void showNotice(QWidget* notice);
    void endRecordingLayout();
    void renameMouseButtonRows(const QStringList& before);
    bool macroNameTaken(const QString& name) const;

    // The key-entry dialogs, each placed over the page; nothing when cancelled.
    std::optional<QString> askKeyName();
    std::optional<int> askDelay();
    QString askMacroName();

    void listMacroFromButton(const QString& name);

    Ui::Macro* ui;
    MacroRecorder* m_recorder = nullptr;
    QString m_folder;
    QString m_pictures;
    QButtonGroup* m_delayModeGroup = nullptr;
    QButtonGroup* m_repeatGroup = nullptr;
    QIcon m_pressIcon;
    QIcon m_releaseIcon;
    QIcon m_delayIcon;
    QString m_buttonRgb;
    QStringList m_menuTexts;
    QString m_macroRealText = QStringLiteral("Macro_");  // the language file replaces it
    bool m_settingCurrent = false;
    bool m_readOnly = false;  // the current macro's file could not be read: never written over
};
