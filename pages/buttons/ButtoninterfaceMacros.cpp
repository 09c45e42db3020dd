// The macro panel: one button per saved macro. With a key chosen, a click binds that key to
// the macro; the panel and the keys bound to a macro follow what the Macro page does to it.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/UserConfig.h"
#include "device/ButtonRecords.h"
#include "device/DeviceSetters.h"
#include "device/MacroFiles.h"
#include "device/MacroNames.h"
#include "device/SharedFlags.h"
#include "device/UnsentMacros.h"
#include "device/WorkingImage.h"
#include "pages/buttons/SelectorTable.h"

#include <QButtonGroup>
#include <QHash>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Every operation visits the selectors in this order (binding indices).
constexpr int VisitOrder[SelectorTable::Count] = {0, 1, 2, 4, 3, 5, 6, 7};
// A panel shorter than this many rows is filled up with hidden placeholders, so that the
// buttons keep their places at the top.
constexpr int PanelRows = 7;
// The last key has no factory function to fall back to: a deleted macro stays on it.
constexpr int KeyWithoutDefault = 7;
constexpr int MacroButtonWidth = 174;

// The macro's name on its button: a long name (30 bytes of Latin letters) is set smaller, down
// to 7 points, so that it fits the button.
void setMacroButtonText(QToolButton* button, const QString& name)
{
    QFont font(QStringLiteral("微软雅黑"), 9);
    const int room = MacroButtonWidth - 8;
    while (font.pointSizeF() > 7 && QFontMetrics(font).horizontalAdvance(name) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button->setFont(font);
    button->setText(SelectorTable::buttonTextOfName(name));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Saved macros

QString Buttoninterface::ReadMacroRepeatValue(QString name)
{
    name.remove(QChar(0));
    const auto text = ReadMacroFileText(MacroFilePath(MacroFolder(), name));
    if (!text || text->isEmpty())
        return QStringLiteral("0");
    return MacroRepeatField(*text);
}

bool Buttoninterface::ReadMacroFileRecord(QString name, MacroRecord* record)
{
    *record = MacroRecord{};
    if (!WriteEnabled)
        return false;
    const auto saved = ReadSavedMacroRecord(name);
    if (!saved)
        return false;
    *record = *saved;
    return true;
}

// ---------------------------------------------------------------------------------------
// The panel

void Buttoninterface::InitMacroButtons()
{
    // The panel grows with its buttons; the scroll area shows seven rows of them.
    QLayout* layout = ui->scrollAreaWidgetContents_7->layout();
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // One style sheet for all the panel's buttons, and a layout of its own spaced as the
    // contents' layout, so that the buttons stand where they stood in it.
    MacroPanel = new QWidget(ui->scrollAreaWidgetContents_7);
    MacroPanel->setStyleSheet(macroButtonStyle());
    auto* column = new QVBoxLayout(MacroPanel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(layout->spacing());
    layout->addWidget(MacroPanel);
    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigAddMacroButton()), this, SLOT(SlotAddMacroButton()));
    connect(hub, SIGNAL(SigDeleteMacroButton(QString)), this, SLOT(SlotDeleteMacroButton(QString)));
    connect(hub, SIGNAL(SigMacroRename(QString, QString)), this, SLOT(SlotMacroRename(QString, QString)));
    connect(hub, SIGNAL(SigUpDataMacro(QString, int)), this, SLOT(SlotUpDataMacro(QString, int)));
    SlotAddMacroButton();
}

void Buttoninterface::SlotAddMacroButton()
{
    // The Macro page lists the same macros, in the same order.
    const QStringList names = ListMacroNames(MacroFolder());
    if (names != MacroButtonNames)
        updateMacroButtons(names);
    // The buttons show as a new panel would show them: none chosen.
    uncheckMacroButtons();
}

// Only what changed is made or dropped: a button per new name, in its place in the list; the
// buttons of names that stay keep their place, so a new macro costs one button, not a panel.
void Buttoninterface::updateMacroButtons(const QStringList& names)
{
    auto* column = static_cast<QVBoxLayout*>(MacroPanel->layout());
    QHash<QString, QToolButton*> old;
    old.reserve(MacroButtonNames.size());
    for (int i = 0; i < MacroButtonNames.size(); ++i) {
        QToolButton*& slot = old[MacroButtonNames.at(i)];
        if (slot)
            dropMacroButton(slot);
        slot = MacroButtons.at(i);
    }
    QList<QToolButton*> placeholders = MacroButtons.mid(MacroButtonNames.size());
    QList<QToolButton*> buttons;  // in the new list's order; null where a button is to be made
    QList<QToolButton*> kept;
    buttons.reserve(names.size());
    for (const QString& name : names) {
        QToolButton* button = old.take(name);
        buttons.append(button);
        if (button)
            kept.append(button);
    }
    for (QToolButton* gone : qAsConst(old))
        dropMacroButton(gone);
    const int wanted = names.isEmpty() ? 0 : std::max(0, PanelRows - int(names.size()));
    while (placeholders.size() > wanted)
        dropMacroButton(placeholders.takeLast());

    // The layout now holds the kept buttons and then the placeholders. After a rename a name
    // may stand elsewhere in the list: then the layout takes them again in the list's order.
    bool inOrder = true;
    for (int i = 0; i < kept.size() && inOrder; ++i)
        inOrder = column->itemAt(i)->widget() == kept.at(i);
    if (!inOrder) {
        while (column->count() > 0)
            delete column->takeAt(column->count() - 1);
        for (QToolButton* button : qAsConst(kept))
            column->addWidget(button);
        for (QToolButton* placeholder : qAsConst(placeholders))
            column->addWidget(placeholder);
    }

    for (int i = 0; i < names.size(); ++i) {
        if (buttons.at(i))
            continue;
        QToolButton* button = makeMacroButton(names.at(i), 22);
        column->insertWidget(i, button);
        // Explicit ids: a button added without one makes the group search all ids for the lowest.
        FunctionGroup->addButton(button, NextMacroButtonId++);
        connect(button, &QToolButton::clicked, this, [this, button](bool checked) { slotButtonClicked(button, checked); });
        button->show();
        buttons[i] = button;
    }
    while (placeholders.size() < wanted) {
        QToolButton* placeholder = makeMacroButton(QString(), 23);
        placeholder->setEnabled(false);
        column->addWidget(placeholder);
        placeholder->hide();
        placeholders.append(placeholder);
    }
    MacroButtons = buttons + placeholders;
    MacroButtonNames = names;
}

QToolButton* Buttoninterface::makeMacroButton(const QString& text, int height)
{
    auto* button = new QToolButton(MacroPanel);
    setMacroButtonText(button, text);
    // As wide as the function buttons, whatever the name.
    button->setMinimumSize(MacroButtonWidth, height);
    button->setMaximumWidth(MacroButtonWidth);
    button->setCheckable(true);
    return button;
}

// A click may still be on its way out of the button (a notice's loop runs rebuilds): it goes
// later, out of the group and the layout now.
void Buttoninterface::dropMacroButton(QToolButton* button)
{
    FunctionGroup->removeButton(button);
    MacroPanel->layout()->removeWidget(button);
    button->hide();
    button->deleteLater();
}

void Buttoninterface::uncheckMacroButtons()
{
    QAbstractButton* checked = FunctionGroup->checkedButton();
    auto* macro = qobject_cast<QToolButton*>(checked);
    if (!macro || macro->parentWidget() != MacroPanel)
        return;
    FunctionGroup->setExclusive(false);
    macro->setChecked(false);
    FunctionGroup->setExclusive(true);
}

// Opening a key bound to a macro checks that macro's button and scrolls it into view.
void Buttoninterface::checkMacroButtonOf(int index)
{
    QString text = SelectorTable::nameOfButtonText(selector(index)->text());
    text.remove(QChar(0));
    for (int p = 0; p < MacroButtons.size(); ++p) {
        QToolButton* button = MacroButtons.at(p);
        if (button->isEnabled() && MacroPrefixText + SelectorTable::nameOfButtonText(button->text()) == text) {
            button->setChecked(true);
            ui->scrollArea_7->verticalScrollBar()->setValue(15 * (p + 1));
        }
    }
}

QString Buttoninterface::macroNameOf(int index) const
{
    QToolButton* target = selector(index);
    if (!target)
        return QString();
    QString text = SelectorTable::nameOfButtonText(target->text());
    text.remove(QChar(0));
    if (MacroPrefixText.isEmpty() || !text.startsWith(MacroPrefixText))
        return QString();
    return text.mid(MacroPrefixText.size());
}

// ---------------------------------------------------------------------------------------
// Binding a key to a macro

void Buttoninterface::slotButtonClicked(QToolButton* button, bool checked)
{
    if (!checked)
        return;
    const QString name = SelectorTable::nameOfButtonText(button->text());
    const int index = checkedSelector();
    if (index >= 0) {
        if (onlyLeftClick(index)) {
            refuseLeftClickChange();
            return;
        }
        MacroRecord record{};
        if (ReadMacroFileRecord(name, &record)) {
            const int key = SelectorTable::deviceKey(index);
            const int repeat = RepeatValueFromText(ReadMacroRepeatValue(name));
            const ButtonBinding binding{6, uint8_t(SelectorTable::macroKeyCode(index)), uint8_t(repeat)};
            if (SetButtonMacro(key, &binding, &record)) {
                selector(index)->setText(MacroPrefixText + SelectorTable::buttonTextOfName(name));
                StoreSelectorBinding(index, binding.type, binding.code1, binding.code2);
            }
        }
    }
    closeFunctionArea();
}

// ---------------------------------------------------------------------------------------
// Following the Macro page

void Buttoninterface::SlotDeleteMacroButton(QString MacroName)
{
    MacroName.remove(QChar(0));
    // The factory combination and media defaults of the model, by device key 0..5.
    const QString group = modelGroup();
    QVector<std::optional<KeyParamDefault>> catalogueDefaults(6);
    for (int slot = 0; slot < 6; ++slot) {
        const QStringList param = UserConfig::instance()->valueList(group, QStringLiteral("KeyParam%1").arg(slot + 1));
        catalogueDefaults[slot] = ParseKeyParamDefault(param);
    }

    // Each key that played the macro gets its default, one write each, and the image goes once
    // more at the end: a write the mouse refuses ends it there (one notice), and the keys not
    // reached keep showing the macro the mouse still plays.
    QVector<int> recordsToClear;
    bool refused = false;
    for (int index : VisitOrder) {
        QToolButton* target = selector(index);
        QString text = SelectorTable::nameOfButtonText(target->text());
        text.remove(QChar(0));
        if (index == KeyWithoutDefault || text != MacroName)
            continue;
        target->setChecked(true);
        const int key = SelectorTable::deviceKey(index);
        const std::optional<KeyParamDefault> catalogue =
            key < catalogueDefaults.size() ? catalogueDefaults.at(key) : std::nullopt;
        if (catalogue) {
            const ButtonComboRecord record =
                catalogue->media ? MediaKeyRecord(catalogue->usage) : BuildComboRecord(catalogue->comboText);
            refused = !SetButtonCombo(key, &ComboBinding, &record);
            if (!refused) {
                StoreSelectorBinding(index, ComboBinding.type, ComboBinding.code1, ComboBinding.code2);
                ShowBinding(index, ComboBinding.type, ComboBinding.code1, ComboBinding.code2, WorkingImageCopy());
            }
        } else {
            const ButtonBinding binding = SelectorTable::factoryBinding(index, ChosenModelId);
            const QString source = SelectorTable::functionButtonOfBinding(binding.type, binding.code1);
            auto* function = findChild<QAbstractButton*>(source);
            function->setChecked(true);
            refused = !assign(binding, nullptr, function->text(), true);
            if (!refused)
                recordsToClear.append(key);
        }
        if (refused)
            break;
    }

    uncheckSelectors();
    closeFunctionArea();
    // The whole image goes to the mouse once more, with the records of the keys that went back
    // to a plain function cleared; never an image that is not this mouse's.
    if (!refused) {
        HandOverLoadedImage([&recordsToClear](FlashDataMap& image) {
            for (int key : recordsToClear)
                image.combos[key] = ButtonComboRecord{};
        });
    }
    // The deleted macro's button goes.
    SlotAddMacroButton();
}

void Buttoninterface::SlotMacroRename(QString MacroName, QString NewName)
{
    MacroName.remove(QChar(0));
    NewName.remove(QChar(0));
    UnsentMacros::rename(MacroName, NewName);
    rememberForBoundKeys(MacroName, NewName);
    bool writing = true;
    for (int index : VisitOrder) {
        if (macroNameOf(index) != MacroName)
            continue;
        selector(index)->setText(MacroPrefixText + SelectorTable::buttonTextOfName(NewName));
        const int key = SelectorTable::deviceKey(index);
        const FlashDataMap image = WorkingImageCopy();
        MacroRecord record = image.macros[key];
        WriteMacroRecordName(record, NewName);
        const ButtonBinding binding = image.buttons[key];
        // A write the mouse refuses ends the writes (one notice); the names still follow.
        if (writing)
            writing = SetButtonMacro(key, &binding, &record);
    }
    for (QToolButton* button : qAsConst(MacroButtons)) {
        if (button->isEnabled() && SelectorTable::nameOfButtonText(button->text()) == MacroName)
            setMacroButtonText(button, NewName);
    }
    // The button goes by its new name; the next list puts it in the folder's order.
    const int renamed = MacroButtonNames.indexOf(MacroName);
    if (renamed >= 0)
        MacroButtonNames[renamed] = NewName;
}

void Buttoninterface::SlotUpDataMacro(QString MacroName, int index)
{
    MacroName.remove(QChar(0));
    // The save is owed to every key that plays the macro until its write has gone out; a mouse
    // asleep now gets it when it answers again. Index 2 comes before the macro file is written.
    if (index == 0 || index == 1 || index == 2)
        rememberForBoundKeys(MacroName, MacroName);
    if (index == 0) {
        // The keys are read when the wait is over: a rename or rebind may have come meanwhile.
        QTimer::singleShot(ProgramWaits::scaled(ProgramWaits::MacroEditSendMs), this,
                           [this, MacroName] { sendMacroEvents(MacroName); });
        return;
    }
    if (index != 1)
        return;
    // A file that cannot be read has no repeat mode to send.
    if (!ReadMacroFileText(MacroFilePath(MacroFolder(), MacroName)))
        return;
    const int repeat = RepeatValueFromText(ReadMacroRepeatValue(MacroName));
    for (int i : VisitOrder) {
        if (macroNameOf(i) != MacroName)
            continue;
        const int key = SelectorTable::deviceKey(i);
        const FlashDataMap image = WorkingImageCopy();
        ButtonBinding binding = image.buttons[key];
        binding.code2 = uint8_t(repeat);
        // A write the mouse refuses ends it there: one notice, nothing written later.
        if (!SetButtonMacro(key, &binding, &image.macros[key]))
            return;
    }
}

void Buttoninterface::sendMacroEvents(const QString& name)
{
    for (int index : VisitOrder) {
        if (macroNameOf(index) == name)
            PostMsg::instance()->SendMacroDownLoadData(name, SelectorTable::deviceKey(index));
    }
}

// ---------------------------------------------------------------------------------------
// Saves that did not reach the mouse

void Buttoninterface::rememberForBoundKeys(const QString& boundName, const QString& savedName)
{
    const QString mouse = UnsentMacros::currentMouse();
    for (int index : VisitOrder) {
        if (macroNameOf(index) == boundName)
            UnsentMacros::remember(mouse, SelectorTable::deviceKey(index), savedName);
    }
}

bool Buttoninterface::holdsUnsentMacro(int key, QString* name) const
{
    const auto unsent = UnsentMacros::nameAt(UnsentMacros::currentMouse(), key);
    if (unsent && name)
        *name = *unsent;
    return unsent.has_value();
}

// Part of a fill: the mouse answers again, so the saves it missed go out now, each from its
// macro's file, the key's binding kept but for the repeat value. A write refused stops the
// rest; they wait for the next answer.
void Buttoninterface::sendUnsentMacros(const FlashDataMap& image)
{
    const QString mouse = UnsentMacros::currentMouse();
    const QMap<int, QString> unsent = UnsentMacros::of(mouse);
    for (auto it = unsent.constBegin(); it != unsent.constEnd(); ++it) {
        const int key = it.key();
        const int index = SelectorTable::bindingIndexOfKey(key);
        ButtonBinding binding = image.buttons[key];
        MacroRecord record{};
        if (binding.type != 6 || !ReadMacroFileRecord(it.value(), &record)) {
            // The key plays no macro any more, or the file is gone: nothing is owed, and the
            // key shows what the mouse holds.
            UnsentMacros::forget(mouse, key);
            if (index >= 0 && index < BindingType.size())
                ShowBinding(index, BindingType.at(index), BindingCode1.at(index), BindingCode2.at(index), image);
            continue;
        }
        binding.code2 = uint8_t(RepeatValueFromText(ReadMacroRepeatValue(it.value())));
        if (!SetButtonMacro(key, &binding, &record))
            return;
        if (index >= 0)
            StoreSelectorBinding(index, binding.type, binding.code1, binding.code2);
    }
}
