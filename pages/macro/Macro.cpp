#include "pages/macro/Macro.h"
#include "ui_Macro.h"

#include "common/CheckedFile.h"
#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/SharedFlags.h"
#include "device/UnsentMacros.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "pages/macro/MacroButtonRecord.h"
#include "pages/macro/MacroExchangeFile.h"
#include "pages/macro/MacroFileChoice.h"
#include "pages/macro/MacroRecorder.h"
#include "dialogs/SameMacro.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/addKey.h"
#include "widgets/AfterHandler.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace {

const qint64 kHandDelayMs = 10;
const int kReleaseType = 1;

// Repeat values of the three repeat modes.
const int kRepeatUntil = 253;
const int kRepeatUntilLoose = 254;
const int kRepeatUntilClick = 255;

// ChooseEvent items 4..8 name the mouse buttons: left, right, middle, forward, back. The
// button names are kept by bit: left, right, middle, back, forward.
const int kFirstMouseItem = 4;
const int kMouseItemToBitIndex[5] = {0, 1, 2, 4, 3};

const QStringList kLanguageElements = {
    "label",        "label_2",      "NewHong",      "DeleteHong",   "Amend",           "DeleteKey",
    "StartRecord",  "StopRecord",   "Save",         "ChooseEvent1", "ChooseEvent2",    "ChooseEvent3",
    "ChooseEvent4", "ChooseEvent5", "ChooseEvent6", "ChooseEvent7", "ChooseEvent8",    "ChooseEvent9",
    "MacroReal",    "AutoInsertDelay", "DefaultDelay", "ReUntilLoose", "ReUntilClick", "ReUntil",
    "ReNumber",     "label_3",      "Key1",         "Key2",         "Key3",            "Key4",
    "Key5",
};

}  // namespace

Macro::Macro(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Macro)
{
    ui->setupUi(this);
    m_folder = MacroFolder();
    m_pictures = pictureFolder(QStringLiteral("Macro"));
    m_pressIcon = QIcon(CheckedFile::pictureForQt(m_pictures + QStringLiteral("MacroDown.png")));
    m_releaseIcon = QIcon(CheckedFile::pictureForQt(m_pictures + QStringLiteral("MacroUp.png")));
    m_delayIcon = QIcon(CheckedFile::pictureForQt(m_pictures + QStringLiteral("MacroTime.png")));
    m_menuTexts = QStringList{"Export", "Rename", "Delete", "New", "Import"};
    m_buttonRgb = skinColor(QStringLiteral("ButtonColor"));

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    connect(hub, SIGNAL(SigButtonToMacro(FlashDataMap, int)), this, SLOT(SlotButtonToMacro(FlashDataMap, int)));
    connect(hub, SIGNAL(SigSetMacroPage()), this, SLOT(SlotSetMacroPage()));
    connect(hub, SIGNAL(SigMacroDownLoadData(QString, int)), this, SLOT(SlotMacroDownLoadData(QString, int)));

    m_recorder = new MacroRecorder(
        {[this](qint64 milliseconds) { AddDelayItem(double(milliseconds)); },
         [this](const QString& name, bool down) { AddKeyItem(name, down); },
         [this](qint64 measured) { return ui->AutoInsertDelay->isChecked() ? measured : qint64(ui->DelayTime->value()); }},
        this);
    // The limit notice opens after the key event was handed on; the page keeps its recording
    // look until Stop.
    connect(m_recorder, &MacroRecorder::limitReached, this, [this] { showNotice(new KeyNumberLimit); });

    applyStyles();
    // A save a kill interrupted is finished before any macro file is shown.
    UnsentMacros::load();
    loadMacroList();

    m_delayModeGroup = new QButtonGroup(this);
    m_delayModeGroup->addButton(ui->AutoInsertDelay);
    m_delayModeGroup->addButton(ui->DefaultDelay);
    m_repeatGroup = new QButtonGroup(this);
    for (QAbstractButton* b : {ui->ReUntilLoose, ui->ReUntilClick, ui->ReNumber, ui->ReUntil})
        m_repeatGroup->addButton(b);
    connect(m_repeatGroup, QOverload<QAbstractButton*, bool>::of(&QButtonGroup::buttonToggled), this,
            [this](QAbstractButton*, bool) { repeatChangedByUser(); });
    // Any way the current entry changes (click, right-click, arrow keys) loads its macro.
    connect(ui->listWidgetHong, &QListWidget::currentRowChanged, this, &Macro::onCurrentMacroChanged);

    ui->StopRecord->hide();
    ui->AutoInsertDelay->setChecked(true);
    {
        const QSignalBlocker blocker(m_repeatGroup);
        ui->ReNumber->setChecked(true);
    }
    deactivateSave();
    setFocusPolicy(Qt::ClickFocus);
    SlotChangeLanguage(currentLanguageIndex());
}

Macro::~Macro() { delete ui; }

std::function<void()>& Macro::saveStepHook()
{
    static std::function<void()> hook;
    return hook;
}

void Macro::applyStyles()
{
    const auto picture = [this](const char* file) { return styleSheetUrl(m_pictures + QLatin1String(file)); };
    const QString label = skinColor(QStringLiteral("LabelColor"));
    const QString list =
        "QListWidget{background:transparent; border:1px solid rgb(60,60,60); color:white; outline:0px;}"
        "QListWidget::item{height:24px; color:white;}"
        "QListWidget::item:hover{background:transparent;}"
        "QListWidget::item:selected{background:#e1be22; color:black;}"
        "QListWidget::item:selected:!active{background:#e1be22; color:black;}"
        "QScrollBar:vertical{width:20px; background:rgb(30,30,30); margin:20px 0 20px 0;}"
        "QScrollBar::handle:vertical{background:rgb(117,117,117); min-height:20px;}"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical{background:none;}"
        "QScrollBar::sub-line:vertical{height:20px; subcontrol-position:top; subcontrol-origin:margin; border-image:" +
        picture("Up.png") + ";}"
        "QScrollBar::add-line:vertical{height:20px; subcontrol-position:bottom; subcontrol-origin:margin; border-image:" +
        picture("Down.png") + ";}";
    ui->listWidgetHong->setStyleSheet(list);
    ui->listWidgetKey->setStyleSheet(list);

    // The pages' drop-down skin, whose list keeps to five rows below the field.
    ui->ChooseEvent->applySkin(m_pictures);
    ui->ChooseEvent->setMaxVisibleItems(5);

    const QString checkBox = "QCheckBox{color:rgb(" + label + ");}"
                             "QCheckBox::indicator{width:16px; height:16px;}"
                             "QCheckBox::indicator:unchecked{image:" + picture("CheckBox.png") + ";}"
                             "QCheckBox::indicator:checked{image:" + picture("CheckBoxCheck.png") + ";}";
    for (QCheckBox* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntil, ui->ReUntilLoose, ui->ReUntilClick, ui->ReNumber})
        box->setStyleSheet(checkBox);
    for (QLabel* l : {ui->label, ui->label_2, ui->label_3, ui->AutoInsertDelayLabel, ui->ReUntilLabel, ui->ReUntilLooseLabel,
                      ui->ReUntilClickLabel})
        l->setStyleSheet(labelColorStyle(label));
    ui->DelayLine->setStyleSheet("QFrame{border:none; background:rgb(60,60,60);}");
    ui->RepeatLine->setStyleSheet("QFrame{border:none; background:rgb(60,60,60);}");

    const QString spin = "QSpinBox{background:rgb(63,63,63); border:none; color:rgb(" +
                         skinColor(QStringLiteral("LinEditColorSecond")) + ");}";
    ui->DelayTime->setStyleSheet(spin);
    ui->NumberEdit->setStyleSheet(spin);

    for (QToolButton* b : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        b->setStyleSheet(activeButtonStyle());
    const auto recordStyle = [&](const char* normal, const char* hover) {
        return "QPushButton{color:white; border:none; text-align:left; padding-left:52px; border-image:" + picture(normal) +
               ";}QPushButton:hover{border-image:" + picture(hover) + ";}";
    };
    ui->StartRecord->setStyleSheet(recordStyle("Record.png", "RecordHover.png"));
    ui->StopRecord->setStyleSheet(recordStyle("Stop.png", "StopHover.png"));
}

QString Macro::activeButtonStyle() const
{
    // Border images stretch one picture over buttons of every width.
    const auto picture = [this](const char* file) { return styleSheetUrl(m_pictures + QLatin1String(file)); };
    return "QToolButton{color:rgb(" + m_buttonRgb + "); border:none; border-image:" + picture("Button.png") +
           ";}QToolButton:hover{border-image:" + picture("ButtonHover.png") + ";}QToolButton:pressed{border-image:" +
           picture("ButtonClick.png") + ";}";
}

void Macro::activateSave()
{
    if (m_readOnly)
        return;
    ui->Save->setStyleSheet(activeButtonStyle());
    ui->Save->setEnabled(true);
}

void Macro::deactivateSave()
{
    ui->Save->setStyleSheet("QToolButton{color:rgb(127,127,127); border:none; border-image:" +
                            styleSheetUrl(m_pictures + QStringLiteral("Button.png")) + ";}");
    ui->Save->setEnabled(false);
}

// ---- rows --------------------------------------------------------------------------------

QListWidgetItem* Macro::keyItem(const QString& name, bool release) const
{
    auto* item = new QListWidgetItem(name, nullptr, release ? kReleaseType : 0);
    item->setIcon(release ? m_releaseIcon : m_pressIcon);
    return item;
}

QListWidgetItem* Macro::delayItem(qint64 milliseconds) const
{
    auto* item = new QListWidgetItem(QString::number(milliseconds) + QStringLiteral("ms"), nullptr, 0);
    item->setIcon(m_delayIcon);
    return item;
}

bool Macro::isDelayRow(int row) const
{
    const QListWidgetItem* item = ui->listWidgetKey->item(row);
    return item && IsDelayText(item->text());
}

MacroRows Macro::rows() const
{
    MacroRows result;
    for (int i = 0; i < ui->listWidgetKey->count(); ++i) {
        const QListWidgetItem* item = ui->listWidgetKey->item(i);
        result.append({item->text(), item->type() == kReleaseType});
    }
    return result;
}

QString Macro::currentMacroName() const
{
    const QListWidgetItem* item = ui->listWidgetHong->currentItem();
    return item ? item->text() : QString();
}

void Macro::AddKeyItem(const QString& text, bool down)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(keyItem(text, !down));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 1);
}

void Macro::AddDelayItem(double milliseconds)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(delayItem(qint64(milliseconds)));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

// Inserts at each position in order; positions past the end append.
void Macro::insertRows(const QVector<QPair<int, QListWidgetItem*>>& rows)
{
    const int current = ui->listWidgetKey->currentRow();
    for (const auto& [row, item] : rows)
        ui->listWidgetKey->insertItem(qMin(row, ui->listWidgetKey->count()), item);
    ui->listWidgetKey->setCurrentRow(current);
    EventsChanged = true;
    activateSave();
}

void Macro::InsertKeyEvent(const QString& name, bool down)
{
    const int r = ui->listWidgetKey->currentRow();
    const int n = ui->listWidgetKey->count();
    QListWidgetItem* key = keyItem(name, !down);
    QListWidgetItem* delay = delayItem(kHandDelayMs);
    if (r == 0)
        insertRows({{2, key}, {3, delay}});
    else if (r < 0 || r == n - 1)
        insertRows({{n, delay}, {n + 1, key}});
    else if (isDelayRow(r))
        insertRows({{r + 1, key}, {r + 2, delay}});
    else
        insertRows({{r + 2, key}, {r + 3, delay}});
}

void Macro::InsertMouseEvent(const QString& name)
{
    const int r = ui->listWidgetKey->currentRow();
    const int n = ui->listWidgetKey->count();
    QListWidgetItem* press = keyItem(name, false);
    QListWidgetItem* release = keyItem(name, true);
    if (r == 0)
        insertRows({{2, press}, {3, delayItem(kHandDelayMs)}, {4, release}, {5, delayItem(kHandDelayMs)}});
    else if (r < 0 && n == 0)
        insertRows({{0, press}, {1, delayItem(kHandDelayMs)}, {2, release}});
    else if (r < 0 || r == n - 1)
        insertRows({{n, delayItem(kHandDelayMs)}, {n + 1, press}, {n + 2, delayItem(kHandDelayMs)}, {n + 3, release}});
    else if (!isDelayRow(r))
        insertRows({{r + 1, delayItem(kHandDelayMs)}, {r + 2, press}, {r + 3, delayItem(kHandDelayMs)}, {r + 4, release}});
    else
        insertRows({{r + 1, press}, {r + 2, delayItem(kHandDelayMs)}, {r + 3, release}, {r + 4, delayItem(kHandDelayMs)}});
}

void Macro::InsertDelayEvent(int milliseconds)
{
    QListWidget* list = ui->listWidgetKey;
    const int r = list->currentRow();
    const QString text = QString::number(milliseconds) + QStringLiteral("ms");
    if (r == 0)
        return;
    if (r < 0) {
        list->addItem(delayItem(milliseconds));
    } else if (isDelayRow(r)) {
        list->item(r)->setText(text);
    } else if (isDelayRow(r - 1)) {
        list->item(r - 1)->setText(text);
        list->setCurrentRow(r - 1);
    } else {
        list->insertItem(r, delayItem(milliseconds));
        list->setCurrentRow(r);
    }
    EventsChanged = true;
    activateSave();
}

// ---- hand editing ------------------------------------------------------------------------

void Macro::on_ChooseEvent_activated(int index)
{
    if (refusedWhileRecording())
        return;
    const bool macroChosen = ui->listWidgetHong->currentRow() >= 0;
    if (index == 1 || index == 2) {
        runAfterHandler(this, [this, index, macroChosen] {
            const auto name = askKeyName();
            if (name && macroChosen)
                InsertKeyEvent(*name, index == 1);
        });
    } else if (index == 3) {
        if (!macroChosen || ui->listWidgetKey->currentRow() < 0)
            return;
        runAfterHandler(this, [this] {
            if (const auto delay = askDelay())
                InsertDelayEvent(*delay);
        });
    } else if (index >= kFirstMouseItem && index < kFirstMouseItem + 5 && macroChosen) {
        InsertMouseEvent(MouseButtonNames[size_t(kMouseItemToBitIndex[index - kFirstMouseItem])]);
    }
}

void Macro::on_Amend_clicked()
{
    if (refusedWhileRecording())
        return;
    runAfterHandler(this, [this] {
        QListWidgetItem* item = ui->listWidgetKey->currentItem();
        if (!item)
            return;
        if (IsDelayText(item->text())) {
            if (const auto delay = askDelay()) {
                item->setText(QString::number(*delay) + QStringLiteral("ms"));
                activateSave();
            }
        } else if (const auto name = askKeyName()) {
            item->setText(*name);
            activateSave();
        }
    });
}

void Macro::on_DeleteKey_clicked()
{
    if (refusedWhileRecording() || ui->listWidgetHong->currentRow() < 0)
        return;
    QListWidget* list = ui->listWidgetKey;
    const int n = list->count();
    const int r = list->currentRow();
    if (n == 0 || (n >= 4 && r < 0))
        return;
    if (n < 4) {
        list->clear();
    } else {
        int first = r;  // a key and the delay next to it
        if (r == n - 1)
            first = r - 1;
        else if (isDelayRow(r) && r > 0)
            first = r - 1;
        delete list->takeItem(first + 1);
        delete list->takeItem(first);
    }
    EventsChanged = true;
    activateSave();
}

void Macro::on_listWidgetKey_itemChanged(QListWidgetItem*) { EventsChanged = true; }

void Macro::repeatChangedByUser()
{
    RepeatChanged = true;
    activateSave();
}

void Macro::on_NumberEdit_valueChanged(int) { repeatChangedByUser(); }

int Macro::repeatValue() const
{
    if (ui->ReUntilLoose->isChecked())
        return kRepeatUntilLoose;
    if (ui->ReUntilClick->isChecked())
        return kRepeatUntilClick;
    if (ui->ReUntil->isChecked())
        return kRepeatUntil;
    return ui->NumberEdit->value();
}

void Macro::setRepeatControls(int repeat)
{
    const QSignalBlocker groupBlocker(m_repeatGroup);
    const QSignalBlocker numberBlocker(ui->NumberEdit);
    switch (repeat) {
    case kRepeatUntil:
        ui->ReUntil->setChecked(true);
        break;
    case kRepeatUntilLoose:
        ui->ReUntilLoose->setChecked(true);
        break;
    case kRepeatUntilClick:
        ui->ReUntilClick->setChecked(true);
        break;
    default:
        ui->ReNumber->setChecked(true);
        ui->NumberEdit->setValue(repeat);
    }
}

void Macro::clearRepeatControls()
{
    const QSignalBlocker groupBlocker(m_repeatGroup);
    m_repeatGroup->setExclusive(false);
    for (QAbstractButton* b : m_repeatGroup->buttons())
        b->setChecked(false);
    m_repeatGroup->setExclusive(true);
}

void Macro::on_Save_clicked()
{
    if (refusedWhileRecording())
        return;
    const QString name = currentMacroName();
    if (name.isEmpty()) {
        deactivateSave();
        return;
    }
    if (m_readOnly)
        return;
    // What the save owes the keys that play the macro is on disk, with the new text, before
    // the macro file is written: a kill between the writes loses neither.
    const bool owed = EventsChanged || RepeatChanged;
    if (owed) {
        UnsentMacros::beginSave(name, MacroFileText(repeatValue(), rows()));
        PostMsg::instance()->SendUpDataMacro(name, 2);
        if (saveStepHook())
            saveStepHook()();
    }
    const bool written = WriteMacroFile(MacroFilePath(m_folder, name), repeatValue(), rows());
    if (owed)
        UnsentMacros::endSave(name);
    if (!written)
        return;
    deactivateSave();
    if (EventsChanged)
        PostMsg::instance()->SendUpDataMacro(name, 0);
    EventsChanged = false;
    if (RepeatChanged)
        PostMsg::instance()->SendUpDataMacro(name, 1);
    RepeatChanged = false;
}

// ---- the macro list ----------------------------------------------------------------------

void Macro::loadMacroList()
{
    const QSignalBlocker blocker(ui->listWidgetHong);
    ui->listWidgetHong->clear();
    ui->listWidgetHong->addItems(ListMacroNames(m_folder));
    ui->listWidgetHong->setCurrentRow(-1);
}

void Macro::setCurrentMacroRow(int row)
{
    m_settingCurrent = true;
    ui->listWidgetHong->setCurrentRow(row);
    m_settingCurrent = false;
}

void Macro::onCurrentMacroChanged(int)
{
    if (!m_settingCurrent)
        loadCurrentMacro();
}

void Macro::on_listWidgetHong_clicked(const QModelIndex&) { loadCurrentMacro(); }

void Macro::loadCurrentMacro()
{
    deactivateSave();
    ui->listWidgetKey->clear();
    m_readOnly = false;
    const QString name = currentMacroName();
    if (name.isEmpty()) {
        clearRepeatControls();
        return;
    }
    const auto content = ReadMacroFile(MacroFilePath(m_folder, name));
    if (!content) {
        m_readOnly = true;
        setRepeatControls(1);
        return;
    }
    setRepeatControls(content->repeat);
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (const MacroRow& row : content->rows)
        ui->listWidgetKey->addItem(IsDelayRow(row) ? delayItem(DelayTextValue(row.text).value_or(0)) : keyItem(row.text, row.release));
}

bool Macro::macroNameTaken(const QString& name) const
{
    for (int i = 0; i < ui->listWidgetHong->count(); ++i)
        if (ui->listWidgetHong->item(i)->text() == name)
            return true;
    return false;
}

void Macro::on_NewHong_clicked()
{
    if (refusedWhileRecording())
        return;
    runAfterHandler(this, [this] {
        const QString name = askMacroName();
        if (!IsValidMacroName(name))
            return;
        if (macroNameTaken(name)) {
            showNotice(new SameMacro);
            return;
        }
        if (!CreateEmptyMacroFile(MacroFilePath(m_folder, name)))
            return;
        ui->listWidgetHong->addItem(name);
        setCurrentMacroRow(ui->listWidgetHong->count() - 1);
        ui->listWidgetKey->clear();
        m_readOnly = false;
        deactivateSave();
        ui->ReNumber->setChecked(true);
        ui->NumberEdit->setValue(1);
    });
}

void Macro::CreateMewMacro() { on_NewHong_clicked(); }

void Macro::on_DeleteHong_clicked()
{
    if (refusedWhileRecording())
        return;
    const QString name = currentMacroName();
    if (name.isEmpty())
        return;
    runAfterHandler(this, [this, name] {
        DeleteConfirm confirm;
        placeCentred(&confirm, this, 100, 50);
        confirm.exec();
        if (!confirm.Accepted || !RemoveMacroFile(MacroFilePath(m_folder, name)))
            return;
        PostMsg::instance()->SendDeleteMacroButton(m_macroRealText + name);
        m_settingCurrent = true;
        delete ui->listWidgetHong->takeItem(ui->listWidgetHong->currentRow());
        ui->listWidgetHong->setCurrentRow(-1);
        m_settingCurrent = false;
        // No macro chosen: no events and no repeat choice.
        loadCurrentMacro();
    });
}

void Macro::DeleteMacro() { on_DeleteHong_clicked(); }

void Macro::RenameMacro()
{
    if (refusedWhileRecording())
        return;
    runAfterHandler(this, [this] {
        QListWidgetItem* item = ui->listWidgetHong->currentItem();
        if (!item)
            return;
        const QString newName = askMacroName();
        if (!IsValidMacroName(newName))
            return;
        if (macroNameTaken(newName)) {
            showNotice(new SameMacro);
            return;
        }
        const QString oldName = item->text();
        if (!RenameMacroFile(m_folder, oldName, newName))
            return;
        item->setText(newName);
        PostMsg::instance()->SendMacroRename(oldName, newName);
    });
}

// Exchange files come with their own work; the menu entries are in place.
// The current macro as the page shows it (unsaved edits included) to a file of the user's choice.
void Macro::ExPortMacro()
{
    runAfterHandler(this, [this] {
        const QString name = currentMacroName();
        if (name.isEmpty())
            return;
        const QString path = chooseMacroExchangeFile(this, true);
        if (path.isEmpty())
            return;
        MacroExchange macro;
        macro.name = name;
        macro.repeat = QString::number(repeatValue());
        for (int i = 0; i < ui->listWidgetKey->count(); ++i) {
            const QListWidgetItem* item = ui->listWidgetKey->item(i);
            macro.items.append({item->text(), item->icon(), item->type() == kReleaseType});
        }
        if (!WriteMacroExchangeFile(path, macro))
            showNotice(new InportFail(1));
    });
}

// A macro from an exchange file: the whole file is checked first, then the macro's file is
// written in one step and the macro listed and shown as a click shows it.
void Macro::InPortMacro()
{
    runAfterHandler(this, [this] {
        const QString path = chooseMacroExchangeFile(this, false);
        if (path.isEmpty())
            return;
        const auto macro = ReadMacroExchangeFile(path);
        if (!macro) {
            showNotice(new InportFail(1));
            return;
        }
        if (macroNameTaken(macro->name)) {
            showNotice(new SameMacro);
            return;
        }
        const MacroRows rows = ImportedMacroRows(macro->items, MouseButtonNameTranslator());
        if (!WriteMacroFile(MacroFilePath(m_folder, macro->name), RepeatValueFromText(macro->repeat), rows)) {
            showNotice(new InportFail(1));
            return;
        }
        ui->listWidgetHong->addItem(macro->name);
        setCurrentMacroRow(ui->listWidgetHong->count() - 1);
        loadCurrentMacro();
    });
}

QMenu* Macro::buildContextMenu(const QPoint& pos)
{
    auto* menu = new QMenu(this);
    menu->setStyleSheet("QMenu{background:rgb(32,38,46); border:1px solid rgb(70,80,94); color:white; padding:4px 0px;}"
                        "QMenu::item{padding:5px 24px 5px 20px;}"
                        "QMenu::item:selected{background:#e1be22; color:black;}");
    if (ui->listWidgetHong->itemAt(pos)) {
        menu->addAction(m_menuTexts.value(0), this, &Macro::ExPortMacro);
        menu->addAction(m_menuTexts.value(1), this, &Macro::RenameMacro);
        menu->addAction(m_menuTexts.value(2), this, &Macro::DeleteMacro);
    } else {
        menu->addAction(m_menuTexts.value(3), this, &Macro::CreateMewMacro);
        menu->addAction(m_menuTexts.value(4), this, &Macro::InPortMacro);
    }
    return menu;
}

void Macro::on_listWidgetHong_customContextMenuRequested(const QPoint& pos)
{
    QMenu* menu = buildContextMenu(pos);
    menu->exec(ui->listWidgetHong->viewport()->mapToGlobal(pos));
    delete menu;
}

// ---- recording as the page sees it --------------------------------------------------------

void Macro::on_StartRecord_clicked()
{
    if (ui->listWidgetHong->currentRow() < 0) {
        auto* notice = new ExeIsRun;
        notice->SetLabel2Text();
        showNotice(notice);
        return;
    }
    PostMsg::instance()->SendStartRecord(0);
    ui->ChooseEvent->setEnabled(false);
    EventsChanged = true;
    ui->StartRecord->hide();
    ui->StopRecord->show();
    ui->listWidgetKey->clear();
    ui->DelayTime->hide();
    ui->NumberEdit->hide();
    ui->listWidgetHong->setEnabled(false);
    m_recorder->start();
}

void Macro::endRecordingLayout()
{
    PostMsg::instance()->SendStartRecord(1);
    m_recorder->stop();
    ui->StopRecord->hide();
    ui->StartRecord->show();
    ui->DelayTime->show();
    ui->NumberEdit->show();
    ui->listWidgetHong->setEnabled(true);
    ui->ChooseEvent->setEnabled(true);
}

void Macro::on_StopRecord_clicked()
{
    endRecordingLayout();
    activateSave();
}

void Macro::SlotSetMacroPage()
{
    endRecordingLayout();
    deactivateSave();
}

// A macro found on a mouse button: listed, its rows appended to its file (the button page
// wrote the repeat line), and the button page told to rebuild its macro buttons.
void Macro::SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer)
{
    if (KeyNumer < 0 || KeyNumer >= 16)
        return;
    if (const auto macro = TakeMacroFromButton(DataMap, KeyNumer))
        listMacroFromButton(macro->name);
    PostMsg::instance()->SendAddMacroButton();
}

void Macro::listMacroFromButton(const QString& name)
{
    QListWidget* list = ui->listWidgetHong;
    if (!macroNameTaken(name)) {
        const int current = list->currentRow();
        if (current >= 0)
            list->insertItem(current + 1, name);
        else
            list->addItem(name);
    }
    // Unsaved edits and a running recording keep the list and the selection; otherwise the
    // page ends with no macro chosen, as after every refresh from the mouse.
    if (!MacroRecording && !ui->Save->isEnabled()) {
        setCurrentMacroRow(-1);
        ui->listWidgetKey->clear();
        clearRepeatControls();
    }
}

// The button page binds a saved macro to device button `index`: its record goes out from the
// saved file, so the mouse gets what Save wrote, whichever entry is shown.
void Macro::SlotMacroDownLoadData(QString MacroName, int index)
{
    SendSavedMacroToButton(MacroName, index);
}

bool Macro::refusedWhileRecording()
{
    if (!MacroRecording)
        return false;
    auto* notice = new ExeIsRun;
    notice->SetPleaseStopText();
    showNotice(notice);
    return true;
}

void Macro::showNotice(QWidget* notice)
{
    // The notice outlives the page if the page goes first: it is deleted either way.
    const QPointer<Macro> self(this);
    runAfterHandler(notice, [self, notice] {
        if (self) {
            placeCentred(notice, self, 100, 50);
            static_cast<QDialog*>(notice)->exec();
        }
        delete notice;
    });
}

// ---- keys and mouse -----------------------------------------------------------------------

void Macro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12) {
        event->accept();  // swallowed here, never handed to the frame
        return;
    }
    QWidget::keyPressEvent(event);
}

void Macro::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

// ---- language ----------------------------------------------------------------------------

void Macro::SlotChangeLanguage(int index)
{
    QStringList before;
    for (const QString& name : MouseButtonNames)
        before << name;
    loadLanguageSection(index, QStringLiteral("Macro"), kLanguageElements, [this](const QString& element, const QString& text) {
        if (element.startsWith(QLatin1String("ChooseEvent"))) {
            const int item = element.mid(11).toInt();
            // A mouse-button name must never read as a delay or as the empty key.
            if (item >= kFirstMouseItem && (text.isEmpty() || IsDelayText(text)))
                return;
            if (item >= 1 && item < ui->ChooseEvent->count())
                ui->ChooseEvent->setItemText(item, text);
        } else if (element.startsWith(QLatin1String("Key"))) {
            m_menuTexts[element.mid(3).toInt() - 1] = text;
        } else if (element == QLatin1String("MacroReal")) {
            m_macroRealText = text;
        } else if (element == QLatin1String("AutoInsertDelay") || element.startsWith(QLatin1String("ReUntil"))) {
            setWidgetText(this, element + QStringLiteral("Label"), text);
        } else {
            setWidgetText(this, element, text);
        }
    });
    ui->NewHong->setToolTip(currentLanguageIndex() == 5 ? ui->NewHong->text() : QString());
    for (int i = 0; i < 5; ++i)
        MouseButtonNames[size_t(kMouseItemToBitIndex[i])] = ui->ChooseEvent->itemText(kFirstMouseItem + i);
    renameMouseButtonRows(before);
}

// Rows named by a mouse button of the previous language take the button's new name, so that
// they still save as that button.
void Macro::renameMouseButtonRows(const QStringList& before)
{
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (int i = 0; i < ui->listWidgetKey->count(); ++i) {
        QListWidgetItem* item = ui->listWidgetKey->item(i);
        const int bit = before.indexOf(item->text());
        if (bit >= 0 && !item->text().isEmpty() && !IsDelayText(item->text()))
            item->setText(MouseButtonNames[size_t(bit)]);
    }
}

// ---- the key-entry dialogs ----------------------------------------------------------------

std::optional<QString> Macro::askKeyName()
{
    addKey dialog;
    placeCentred(&dialog, this, 50, 70);
    const int result = dialog.exec();
    // Confirmed without a key: nothing to insert or amend.
    if (result != QDialog::Accepted || !dialog.Accepted || dialog.KeyName.isEmpty())
        return std::nullopt;
    return dialog.KeyName;
}

std::optional<int> Macro::askDelay()
{
    AddDelayTime dialog;
    placeCentred(&dialog, this, 50, 70);
    dialog.exec();
    if (!dialog.Accepted)
        return std::nullopt;
    return dialog.DelayValue;
}

QString Macro::askMacroName()
{
    QuestionDialog dialog;
    placeCentred(&dialog, this, 100, 50);
    dialog.exec();
    return dialog.MacroName;
}
