// The key selectors and the function area: opening a selector shows the function its key
// holds; a function button then sends its function to the key of the checked selector.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "device/ButtonRecords.h"
#include "device/CurrentDevice.h"
#include "device/DeviceSetters.h"
#include "device/SensorHeader.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/MakeMacro.h"
#include "pages/buttons/FunctionViews.h"
#include "pages/buttons/SelectorTable.h"
#include "pages/macro/FireKey.h"
#include "pages/macro/GroupKey.h"
#include "widgets/AfterHandler.h"

#include "HIDUsb.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

const QString NarrowBar = QStringLiteral("QScrollBar {width:0px;}");
const QString WideBar = QStringLiteral("QScrollBar {width:10px;}");

}  // namespace

// ---------------------------------------------------------------------------------------
// Groups and the binding vectors

void Buttoninterface::InitButtonGroups()
{
    for (int i = 0; i < SelectorTable::Count; ++i)
        SelectorGroup->addButton(selector(i));
    for (QToolButton* button : functionTypeButtons())
        FunctionTypeGroup->addButton(button);
    for (QToolButton* button : functionButtons())
        FunctionGroup->addButton(button);
}

QList<QToolButton*> Buttoninterface::functionButtons() const
{
    QList<QToolButton*> buttons;
    for (QWidget* page : {ui->page_3, ui->page_6, ui->page_8, ui->page_4, ui->page_7, ui->page_10})
        buttons += page->findChildren<QToolButton*>();
    return buttons;
}

void Buttoninterface::StoreSelectorBinding(int index, int type, int code1, int code2)
{
    if (index < 0 || index >= SelectorTable::Count)
        return;
    // A model with fewer keys has no entry there yet: the ones between come from the image.
    if (index >= BindingType.size()) {
        const SelectorTable::Bindings filled = SelectorTable::bindingsFromImage(WorkingImageCopy(), index + 1);
        for (int i = BindingType.size(); i <= index; ++i) {
            BindingType.append(filled.type.at(i));
            BindingCode1.append(filled.code1.at(i));
            BindingCode2.append(filled.code2.at(i));
        }
    }
    BindingType[index] = type;
    BindingCode1[index] = code1;
    BindingCode2[index] = code2;
}

void Buttoninterface::UncheckFunctionButtons()
{
    FunctionGroup->setExclusive(false);
    for (QAbstractButton* button : FunctionGroup->buttons())
        button->setChecked(false);
    FunctionGroup->setExclusive(true);
}

int Buttoninterface::checkedSelector() const
{
    // The order the page has always tested them in; at most one is checked.
    for (int index : {0, 1, 2, 4, 3, 5, 6, 7}) {
        if (selector(index)->isChecked())
            return index;
    }
    return -1;
}

bool Buttoninterface::holdsLeftClick(int index) const
{
    return index < BindingType.size() && BindingType.at(index) == 1 && BindingCode1.at(index) == 1;
}

bool Buttoninterface::onlyLeftClick(int index) const
{
    if (!holdsLeftClick(index))
        return false;
    for (int i = 0; i < BindingType.size(); ++i) {
        if (i != index && holdsLeftClick(i))
            return false;
    }
    return true;
}

void Buttoninterface::uncheckSelectors()
{
    SelectorGroup->setExclusive(false);
    for (QAbstractButton* button : SelectorGroup->buttons())
        button->setChecked(false);
    SelectorGroup->setExclusive(true);
}

void Buttoninterface::closeFunctionArea()
{
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(WideBar);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::refuseLeftClickChange()
{
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    uncheckSelectors();
    runAfterHandler(this, [this] {
        LeftButtonOnly notice;
        placeCentred(&notice, this, 50, 70);
        notice.exec();
    });
}

// ---------------------------------------------------------------------------------------
// Opening a selector

void Buttoninterface::openSelector(int index)
{
    if (onlyLeftClick(index)) {
        refuseLeftClickChange();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(index == 0 ? WideBar : NarrowBar);

    const bool known = index < BindingType.size();
    const int type = known ? BindingType.at(index) : -1;
    const int code1 = known ? BindingCode1.at(index) : 0;
    const FlashDataMap image = WorkingImageCopy();
    const int dpi = type == 10 ? lockValue(code1) : 0;
    const FunctionViews::OpenedView view =
        FunctionViews::viewOfBinding(type, code1, image.combos[SelectorTable::deviceKey(index)], dpi);

    if (view.opens) {
        ui->stackedWidget->setCurrentWidget(ui->page_2);
        ui->stackedWidget_2->setCurrentWidget(ui->stackedWidget_2->findChild<QWidget*>(view.page));
    }
    for (const QString& name : view.checked) {
        if (auto* button = findChild<QAbstractButton*>(name))
            button->setChecked(true);
    }
    if (view.macro)
        checkMacroButtonOf(index);
    if (type == 5) {
        ui->scrollArea_3->verticalScrollBar()->setValue(view.mediaRow >= 0 ? view.mediaRow * 15 : 0);
    } else {
        ui->scrollArea_10->verticalScrollBar()->setValue(view.lockIndex >= 0 ? view.lockIndex * 15 : 0);
    }
    ui->scrollArea_4->verticalScrollBar()->setValue(view.steps * 15);
}

void Buttoninterface::on_FireKey_clicked() { openSelector(0); }
void Buttoninterface::on_RightKey_clicked() { openSelector(1); }
void Buttoninterface::on_BackKey_clicked() { openSelector(2); }
void Buttoninterface::on_StartPause_clicked() { openSelector(4); }
void Buttoninterface::on_TopMusic_clicked() { openSelector(3); }
void Buttoninterface::on_BackMusic_clicked() { openSelector(5); }
void Buttoninterface::on_Button7_clicked() { openSelector(6); }

// ---------------------------------------------------------------------------------------
// Markers: choose a key without opening it

void Buttoninterface::chooseByMarker(int number)
{
    IsDeviceOnline();
    static const int rows[] = {0, 1, 2, 4, 3, 5, 6, 7};  // binding index of each row
    int index = rows[number - 1];
    const int model = ChosenModelId;
    if (SelectorTable::modelSwapsSideRows(model) && (number == 4 || number == 5))
        index = number == 4 ? 3 : 4;
    selector(index)->setChecked(true);
    ui->scrollArea_11->verticalScrollBar()->setValue(15 * (number - 1));
}

void Buttoninterface::on_Number1_clicked() { chooseByMarker(1); }
void Buttoninterface::on_Number2_clicked() { chooseByMarker(2); }
void Buttoninterface::on_Number3_clicked() { chooseByMarker(3); }
void Buttoninterface::on_Number4_clicked() { chooseByMarker(4); }
void Buttoninterface::on_Number5_clicked() { chooseByMarker(5); }
void Buttoninterface::on_Number6_clicked() { chooseByMarker(6); }
void Buttoninterface::on_Number7_clicked() { chooseByMarker(7); }
void Buttoninterface::on_Number8_clicked() { chooseByMarker(8); }

// ---------------------------------------------------------------------------------------
// Function pages

void Buttoninterface::on_DPI_13_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_10); }
void Buttoninterface::on_DPI_11_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_4); }
void Buttoninterface::on_DPI_4_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_8); }
void Buttoninterface::on_DPI_9_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_6); }
void Buttoninterface::on_DPI_7_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_7); }
void Buttoninterface::on_DPI_12_clicked() { ui->stackedWidget_2->setCurrentWidget(ui->page_3); }

void Buttoninterface::on_DPI_10_clicked()
{
    if (MacroButtons.isEmpty()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        runAfterHandler(this, [this] {
            MakeMacro notice;
            placeCentred(&notice, this, 50, 70);
            notice.exec();
        });
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_5);
}

void Buttoninterface::on_stackedWidget_currentChanged(int arg1)
{
    // The open function-type list covers the key list's right edge; closed, the list is on top.
    if (arg1 != 0)
        ui->stackedWidget->raise();
    else
        ui->scrollArea_11->raise();
}

// ---------------------------------------------------------------------------------------
// Assigning

void Buttoninterface::connectFunctionButtons()
{
    for (const FunctionViews::FixedFunction& function : FunctionViews::FixedFunctions) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(function.button));
        const ButtonBinding binding = function.binding;
        const bool clears = function.clearsFirst;
        connect(button, &QToolButton::clicked, this, [this, button, binding, clears](bool checked) {
            if (button == ui->LeftKey_3)
                ui->stackedWidget_2->setCurrentWidget(ui->page_9);
            if (checked)
                assign(binding, nullptr, button->text(), clears);
        });
    }
    for (const FunctionViews::LockButton& lock : FunctionViews::LockButtons) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(lock.button));
        const int dpi = lock.dpi;
        connect(button, &QToolButton::clicked, this, [this, button, dpi](bool checked) {
            if (!checked)
                return;
            const int code = lockCode(dpi);
            assign(ButtonBinding{10, uint8_t(code), 0}, nullptr, ui->DPI_4->text() + QStringLiteral("-") + button->text(),
                   false);
        });
    }
    for (const MediaFunction& media : MediaFunctions) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(media.button));
        const uint16_t usage = media.usage;
        connect(button, &QToolButton::clicked, this, [this, button, usage](bool checked) {
            if (!checked)
                return;
            const ButtonComboRecord record = MediaKeyRecord(usage);
            assign(ComboBinding, &record, button->text(), false);
        });
    }
}

bool Buttoninterface::assign(const ButtonBinding& binding, const ButtonComboRecord* record, const QString& text,
                             bool clearsFirst)
{
    if (clearsFirst)
        UncheckFunctionButtons();
    const int index = checkedSelector();
    bool sent = false;
    if (index >= 0) {
        // The only key with the left click keeps it, however it was chosen.
        const bool keepsLeftClick = binding.type == 1 && binding.code1 == 1;
        if (onlyLeftClick(index) && !keepsLeftClick) {
            refuseLeftClickChange();
            return false;
        }
        const int key = SelectorTable::deviceKey(index);
        sent = record ? SetButtonCombo(key, &binding, record) : SetButtonKey(key, binding.type, binding.code1, binding.code2);
        if (sent) {
            selector(index)->setText(text);
            StoreSelectorBinding(index, binding.type, binding.code1, binding.code2);
        }
    }
    closeFunctionArea();
    return sent;
}

// ---------------------------------------------------------------------------------------
// Rapid fire and key combination: a dialog first

bool Buttoninterface::refusedBeforeDialog()
{
    const int index = checkedSelector();
    if (index >= 0 && onlyLeftClick(index)) {
        refuseLeftClickChange();
        return true;
    }
    return false;
}

// Both a press and a double click on the button come here; only an accepted dialog writes.
void Buttoninterface::on_DPI_6_clicked()
{
    if (!UsbFinderC_GetDeviceOnLine(CurrentDevicePath().constData()) && !ButtonPageBusy) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        return;
    }
    if (refusedBeforeDialog())
        return;
    queueFunctionDialog(&Buttoninterface::askRapidFire);
}

void Buttoninterface::queueFunctionDialog(void (Buttoninterface::*ask)())
{
    if (m_functionDialogDue)
        return;
    m_functionDialogDue = true;
    runAfterRelease(this, [this, ask] {
        m_functionDialogDue = false;
        (this->*ask)();
    });
}

void Buttoninterface::askRapidFire()
{
    const int index = checkedSelector();
    FireKey dialog;
    // A key that already repeats starts from its own values.
    if (index >= 0 && index < BindingType.size() && selector(index)->text() == ui->DPI_6->text()) {
        dialog.setTime(BindingCode1.at(index));
        dialog.setCount(BindingCode2.at(index));
    } else {
        dialog.setTime(10);
        dialog.setCount(3);
    }
    placeCentred(&dialog, this, 50, 70);
    dialog.exec();
    if (!dialog.Accepted)
        return;
    FireTime = dialog.FireTime;
    FireCount = dialog.FireCount;
    assign(ButtonBinding{4, uint8_t(FireTime), uint8_t(FireCount)}, nullptr, ui->DPI_6->text(), true);
}

void Buttoninterface::on_DPI_8_clicked()
{
    if (refusedBeforeDialog())
        return;
    queueFunctionDialog(&Buttoninterface::askKeyCombination);
}

void Buttoninterface::askKeyCombination()
{
    GroupKey dialog;
    placeCentred(&dialog, this, 50, 70);
    dialog.exec();
    // Confirmed without a key is no combination: nothing changes.
    if (!dialog.Accepted || dialog.KeyText.isEmpty())
        return;
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    UncheckFunctionButtons();
    const int index = checkedSelector();
    if (index >= 0) {
        const ButtonComboRecord record = BuildComboRecord(dialog.KeyText);
        if (SetButtonCombo(SelectorTable::deviceKey(index), &ComboBinding, &record)) {
            selector(index)->setText(dialog.KeyText);
            StoreSelectorBinding(index, ComboBinding.type, ComboBinding.code1, ComboBinding.code2);
        }
    }
    // The function-type list stays open after a combination.
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(WideBar);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

// ---------------------------------------------------------------------------------------
// Page events

void Buttoninterface::mousePressEvent(QMouseEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || event->button() != Qt::LeftButton)
        return;
    const auto inside = [](const QWidget* widget, QPoint point) { return widget->geometry().contains(point); };
    // The positions the page has always compared: its own coordinates against the
    // geometries inside the lower frame, and the function-type list 340 pixels lower.
    const QPoint p = event->pos();
    const QPoint lifted(p.x(), p.y() - 340);
    const auto listOpen = [this] { return ui->stackedWidget->currentIndex() != 0; };
    const auto resting = [this] { return ui->stackedWidget_2->currentWidget() == ui->page_9; };
    const auto deselect = [this] {
        uncheckSelectors();
        closeFunctionArea();
    };

    if (listOpen() && !resting()) {
        if (!inside(ui->groupBox, p))
            closeFunctionArea();
    } else if (listOpen() && resting()) {
        if (!inside(ui->scrollArea_11, p) && !inside(ui->stackedWidget, lifted))
            closeFunctionArea();
    }

    if (!listOpen() && resting()) {
        if (!(inside(ui->scrollArea_11, p) && !inside(ui->stackedWidget, lifted)))
            deselect();
    } else if (listOpen() && !resting()) {
        if (!inside(ui->scrollArea_11, p) && !inside(ui->stackedWidget, p) && !inside(ui->stackedWidget_2, p))
            deselect();
    } else if (listOpen() && resting()) {
        if (!inside(ui->groupBox, p))
            deselect();
    }

    if (inside(ui->widget, p))
        deselect();
}

void Buttoninterface::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The form's own texts come back on every widget: the profile box keeps its choice,
        // the page its language and the selectors the functions they name.
        QStringList selectorTexts;
        for (int i = 0; i < SelectorTable::Count; ++i)
            selectorTexts << selector(i)->text();
        const int profile = ui->ProjectChoose->currentIndex();
        ui->ProjectChoose->blockSignals(true);
        ui->retranslateUi(this);
        ui->ProjectChoose->setCurrentIndex(profile);
        ui->ProjectChoose->blockSignals(false);
        InitLanguage(1, currentLanguageIndex());
        for (int i = 0; i < SelectorTable::Count; ++i)
            selector(i)->setText(selectorTexts.at(i));
    }
    QWidget::changeEvent(event);
}
