#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/AppPaths.h"
#include "common/BlockingDelivery.h"
#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"
#include "common/UserConfig.h"
#include "device/ButtonRecords.h"
#include "device/DeviceCache.h"
#include "device/MacroNames.h"
#include "device/SensorHeader.h"
#include "device/DeviceRecords.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "device/WorkingImage.h"
#include "pages/buttons/SelectorTable.h"

#include "HIDUsb.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextStream>

Buttoninterface::Buttoninterface(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Buttoninterface)
{
    PicturePath = pictureFolder(QStringLiteral("Buttoninterface"));
    ButtonColorText = skinColor(QStringLiteral("ButtonColor"));
    setStyleSheet(pageStyleSheet());
    ui->setupUi(this);

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    connect(hub, SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));

    MainPageFolder = AppPaths::userDataDir() + QStringLiteral("//usersetting/MainPage");
    QDir().mkpath(MainPageFolder);

    // The eighth key has no place on any model's picture.
    ui->Number8->hide();
    ui->Button8->hide();
    ui->label_17->hide();

    SelectorGroup = new QButtonGroup(this);
    FunctionTypeGroup = new QButtonGroup(this);
    FunctionGroup = new QButtonGroup(this);
    for (QButtonGroup* group : {SelectorGroup, FunctionTypeGroup, FunctionGroup})
        group->setExclusive(true);
    InitButtonGroups();
    connectFunctionButtons();

    ButtonColorList = UserConfig::instance()->valueList(QStringLiteral("Option"), QStringLiteral("ButtonColor"));

    // Profile switch and the three light toggles are not offered on this page; bindings
    // the mouse holds for them are still named.
    ui->DPI_3->hide();
    ui->VolumeUp_4->hide();
    ui->VolumeUp_5->hide();
    ui->VolumeUp_6->hide();

    applyPageStyles();
    InitMacroButtons();
    // The header is read once, by whichever page is built first.
    LoadSensorHeaderOnce();

    PostMsg::connectBlocking(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                             SLOT(SlotUpDataButtonUIButton(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(SlotUpDataConfigUI(int, int, bool)));
    connect(hub, SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetButton()));

    m_worker = new Worker(this);

    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);

    InitLanguage(1, currentLanguageIndex());
}

Buttoninterface::~Buttoninterface()
{
    m_worker->ClearRunRequest();
    disconnect(PostMsg::instance(), nullptr, this, nullptr);
    {
        // The run may be waiting for one of our slots: it gives up while we wait for it.
        BlockingDelivery::WaitScope scope;
        m_worker->wait();
    }
    delete m_worker;
    StopUsbChanged();
    delete ui;
}

QToolButton* Buttoninterface::selector(int index) const
{
    const QString name = SelectorTable::selectorName(index);
    return name.isEmpty() ? nullptr : findChild<QToolButton*>(name);
}

QString Buttoninterface::buttonText(const QString& objectName) const
{
    auto* button = findChild<QAbstractButton*>(objectName);
    return button ? button->text() : QString();
}

QString Buttoninterface::modelGroup() const
{
    return CatalogueModelGroup(CurrentDeviceRecord().modelIndex);
}

QList<QToolButton*> Buttoninterface::functionTypeButtons() const
{
    return {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2,
            ui->DPI_3, ui->DPI_6, ui->DPI_8, ui->DPI_5, ui->DPI_13, ui->DPI_11, ui->DPI_4,
            ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_10};
}

// ---------------------------------------------------------------------------------------
// Binding display

void Buttoninterface::ShowBinding(int index, int type, int code1, int code2, const FlashDataMap& image, bool fromMouse)
{
    QToolButton* target = selector(index);
    if (!target)
        return;
    const int key = SelectorTable::deviceKey(index);
    switch (type) {
    case 5: {
        const ButtonComboRecord& record = image.combos[key];
        if (record.events[0].kind != 2) {
            target->setText(ComboRecordText(record));
        } else if (const auto usage = MediaUsageForCatalogueByte(record.events[0].code & 0xFF)) {
            // A media key is named by the low byte of its usage, as the catalogue names it.
            if (const MediaFunction* media = MediaFunctionForUsage(*usage))
                target->setText(buttonText(QString::fromLatin1(media->button)));
        }
        return;
    }
    case 6: {
        QString unsent;
        if (holdsUnsentMacro(key, &unsent)) {
            // The file holds a save the mouse has not had yet: the mouse's older record must not
            // replace it. The fill sends it afterwards.
            target->setText(MacroPrefixText + SelectorTable::buttonTextOfName(unsent));
            return;
        }
        const QString name = DecodeMacroRecordName(image.macros[key]);
        target->setText(MacroPrefixText + SelectorTable::buttonTextOfName(name));
        // A name read from a mouse or a file is no path: "../x" shows, but touches nothing.
        if (!fromMouse || !IsValidMacroName(name))
            return;
        WriteMacroRepeatLine(name, QString::number(code2));
        PostMsg::instance()->SendButtonToMacro(image, key);
        return;
    }
    case 10:
        target->setText(buttonText(QStringLiteral("DPI_4")) + QStringLiteral("-") + QString::number(lockValue(code1)));
        return;
    default: {
        const QString source = SelectorTable::functionButtonOfBinding(type, code1);
        if (!source.isEmpty())
            target->setText(buttonText(source));
    }
    }
}

namespace {

QStringList defineValueTexts()
{
    QStringList values;
    for (int value : SensorDefineValues)
        values << QString::number(value);
    return values;
}

}  // namespace

// The DPI-lock codes of the model's sensor, from the sensor definition header.
int Buttoninterface::lockValue(int code) const
{
    return DpiLockValue(code, SensorName, SensorDefineNames, defineValueTexts());
}

int Buttoninterface::lockCode(int dpi) const
{
    return DpiLockCode(dpi, SensorName, SensorDefineNames, defineValueTexts());
}

void Buttoninterface::WriteMacroRepeatLine(const QString& name, const QString& text)
{
    if (!IsValidMacroName(name))
        return;
    QSaveFile file(AppPaths::userDataDir() + QStringLiteral("/usersetting/MacroPage/") + name + QStringLiteral(".ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    file.write(text.toUtf8() + '\n');
    file.commit();
}

// ---------------------------------------------------------------------------------------
// Fills

void Buttoninterface::showBindings(const FlashDataMap& image, bool fromMouse)
{
    for (int i = 0; i < BindingType.size(); ++i)
        ShowBinding(i, BindingType.at(i), BindingCode1.at(i), BindingCode2.at(i), image, fromMouse);
}

void Buttoninterface::loadBindings(const FlashDataMap& image, bool fromMouse)
{
    const int count = SelectorTable::keyCountFromCatalogue(
        UserConfig::instance()->value(modelGroup(), QStringLiteral("KeyNumber")));
    const SelectorTable::Bindings bindings = SelectorTable::bindingsFromImage(image, count);
    BindingType = bindings.type;
    BindingCode1 = bindings.code1;
    BindingCode2 = bindings.code2;
    showBindings(image, fromMouse);
}

void Buttoninterface::fillFromImage(const FlashDataMap& image)
{
    // A cache file is no answer of the mouse: its macros name the keys but rewrite no file,
    // and the mouse is not there to be sent what it owes.
    const bool fromMouse = !CacheFill::running();
    SensorName = UserConfig::instance()->value(modelGroup(), QStringLiteral("Sensor"));
    loadBindings(image, fromMouse);
    if (fromMouse)
        sendUnsentMacros(image);
    setDebounceIndex(image.debounceMs);
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap)
{
    ButtonPageReady = 0;
    ButtonPageBusy = 1;
    fillFromImage(DataMap);
    ButtonPageReady = 1;
    ButtonPageBusy = 0;
}

// An imported profile replaces every binding: no key stays chosen.
void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap DataMap)
{
    ButtonPageBusy = 1;
    uncheckSelectors();
    closeFunctionArea();
    fillFromImage(DataMap);
    ButtonPageBusy = 0;
}

void Buttoninterface::SlotFormResetButton()
{
    ButtonPageBusy = 1;
    uncheckSelectors();
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    BindingType.clear();
    BindingCode1.clear();
    BindingCode2.clear();
    const int model = ChosenModelId;
    for (int i = 0; i < SelectorTable::Count; ++i) {
        const ButtonBinding b = SelectorTable::factoryBinding(i, model);
        BindingType.append(b.type);
        BindingCode1.append(b.code1);
        BindingCode2.append(b.code2);
    }
    // Every selector names its factory function: none keeps the previous mouse's.
    showBindings(FlashDataMap{});
    setDebounceIndex(8);
    ButtonPageBusy = 0;
}

void Buttoninterface::setDebounceIndex(int index)
{
    ui->DebunceButton->setCurrentIndex(index);
}

// ---------------------------------------------------------------------------------------
// Model picture and profiles

// Another mouse is chosen: its page starts with no key chosen and its key list at the top.
void Buttoninterface::SlotMouseIndex(int index)
{
    uncheckSelectors();
    closeFunctionArea();
    ui->scrollArea_11->verticalScrollBar()->setValue(0);
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;"
                                             "background-image: ")
                              + styleSheetUrl(PicturePath + QStringLiteral("mouse%1.png").arg(index)) + QStringLiteral(";}"));
    const QVector<QPoint> positions = SelectorTable::markerPositions(index);
    QToolButton* markers[] = {ui->Number1, ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6};
    for (int i = 0; i < positions.size(); ++i)
        markers[i]->move(positions.at(i));

    const int model = ChosenModelId;
    const bool seventh = SelectorTable::modelShowsSeventhKey(model);
    ui->Number7->setVisible(seventh);
    ui->Button7->setVisible(seventh);
    ui->label_16->setVisible(seventh);

    const bool swapped = SelectorTable::modelSwapsSideRows(model);
    ui->StartPause->move(30, swapped ? 144 : 109);
    ui->TopMusic->move(30, swapped ? 109 : 144);
}

void Buttoninterface::SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable)
{
    // Clearing unblocked only announces index -1, which nothing acts on.
    ui->ProjectChoose->clear();
    ui->ProjectChoose->blockSignals(true);
    if (ToTalItem > 0) {
        for (int i = 0; i < ToTalItem; ++i)
            ui->ProjectChoose->addItem(ProfileItemPrefix + QString::number(i + 1));
    } else if (ToTalItem == 0) {
        ui->ProjectChoose->addItem(ProfileItemPrefix + QStringLiteral("1"));
    }
    ui->ProjectChoose->blockSignals(false);
    ui->ProjectChoose->setEnabled(ItemEnable);
    if (ToTalItem >= 1)
        ui->ProjectChoose->setCurrentIndex(SelectIndex);
}

void Buttoninterface::relabelProfiles()
{
    const int count = ui->ProjectChoose->count();
    if (count == 0)
        return;
    const int current = ui->ProjectChoose->currentIndex();
    ui->ProjectChoose->blockSignals(true);
    ui->ProjectChoose->clear();
    for (int i = 0; i < count; ++i)
        ui->ProjectChoose->addItem(ProfileItemPrefix + QString::number(i + 1));
    ui->ProjectChoose->setCurrentIndex(current);
    ui->ProjectChoose->blockSignals(false);
}

void Buttoninterface::setDebounceSuffix(int number, const QString& suffix)
{
    if (number < 1 || number > 20)
        return;
    ui->DebunceButton->setItemSuffix(number - 1, suffix);
    if (number == 20)
        ui->DebunceButton->setItemSuffix(20, suffix);
}
