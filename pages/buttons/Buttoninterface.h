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
    // read the key's record from `image`; a macro also rewrites its repeat line and hands the
    // image to the Macro page. A binding the page cannot name leaves the text as it was.
    void ShowBinding(int index, int type, int code1, int code2, const FlashDataMap& image);

    // Writes `text` as the only line of the macro's file (replacing what it held). A name
    // that cannot be a file name, or a file that cannot be written, is skipped silently.
    static void WriteMacroRepeatLine(const QString& name, const QString& text);

    // Applies the language section of `index`; firstLoad 0 also redraws the selectors.
    void InitLanguage(int firstLoad, int index);

    // The seventeen function-type buttons, in list order.
    QList<QToolButton*> functionTypeButtons() const;

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

private:
    void fillFromImage(const FlashDataMap& image);
    // The binding vectors from the image ("KeyNumber" entries) and the selectors named.
    void loadBindings(const FlashDataMap& image);
    void showBindings(const FlashDataMap& image);
    void applyLanguageText(const QString& element, const QString& text);
    void redrawAfterLanguageChange();
    void relabelProfiles();
    void setDebounceIndex(int index);
    // Debounce items: "S1".."S19" name item n - 1, "S20" items 19 and 20.
    void setDebounceSuffix(int number, const QString& suffix);
    QToolButton* selector(int index) const;
    QString buttonText(const QString& objectName) const;
    QString modelGroup() const;

    // Style sheets of the page (ButtoninterfaceSkin.cpp).
    void applyPageStyles();
    void applyFrameStyles();

    Ui::Buttoninterface* ui;
    Worker* m_worker = nullptr;
};
