// Every text of every window built so far fits the widget that shows it, in all six shipped
// languages: measured with the widget's own font (word wrap where the label wraps), and a text
// must not run under another button of its window.
//
// To check a new window or page, add one line to `windows()`:
//     {"SectionOrClassName", build<YourWindow>()},
// or, for a state that shows other texts, a line whose builder brings the window there, e.g.
//     {"Progress failed", build<Progress>([](Progress* p) { p->SlotProgress(0, 1); })},
// Every visible label, button, check box, radio button and combo box of the window is checked.
#include "common/AppPaths.h"
#include "common/LanguageFile.h"
#include "common/LanguageNames.h"
#include "common/MacroSetting.h"
#include "common/UserConfig.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/FirmwareFiles.h"
#include "device/SharedFlags.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/AutoStartFail.h"
#include "dialogs/UserFolderFail.h"
#include "dialogs/DamagedInstall.h"
#include "dialogs/ExportFail.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/Progress.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/SameMacro.h"
#include "dialogs/UpDateWarning.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/FireKey.h"
#include "pages/macro/GroupKey.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/addKey.h"
#include "pages/lighting/LampLight.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "shell/DialogMain.h"
#include "shell/UpDataParam.h"
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStackedWidget>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

struct WindowEntry {
    const char* name;
    std::function<QWidget*()> build;
};

// The button page with a function page open (the function-type list beside it) and its
// selectors in their factory state.
std::function<QWidget*()> buttonPage(const char* functionPage)
{
    return [functionPage] {
        auto* page = new Buttoninterface;
        page->SlotFormResetButton();
        page->SlotUpDataConfigUI(4, 0, true);
        page->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->setCurrentIndex(1);
        auto* functions = page->findChild<QStackedWidget*>(QStringLiteral("stackedWidget_2"));
        functions->setCurrentWidget(functions->findChild<QWidget*>(QString::fromLatin1(functionPage)));
        return static_cast<QWidget*>(page);
    };
}

// The settings page with one firmware-update note shown: the mouse's (or the receiver's) check
// run to its end with `cables` mice listed on their cables, and with a matching image file too
// large to be read when `brokenFile`.
std::function<QWidget*()> settingsNote(bool mouse, int cables, bool brokenFile = false)
{
    return [=] {
        DeviceAllInfo chosen;  // the mouse on its cable: no receiver beside it
        chosen.cableFlag = 1;
        SetCurrentDeviceRecord(chosen);
        MainPageDeviceList.clear();
        for (int i = 0; i < cables; ++i) {
            DeviceAllInfo cable;
            cable.cableFlag = 1;
            MainPageDeviceList << cable;
        }
        const QString big = AppPaths::programDir() + QStringLiteral("/bin/big.bin");
        if (brokenFile) {
            QDir().mkpath(AppPaths::programDir() + QStringLiteral("/bin"));
            QFile file(big);
            file.open(QIODevice::WriteOnly);
            file.write(SimScript::makeFirmware(0x0200, 210, 10, 1, "KVM-VELA"));
            file.resize(FirmwareFiles::MaxImageFileSize + 1);
        }
        auto* page = new FormSetting;
        page->SlotMouseIndex(4);
        mouse ? page->on_Mouse_clicked() : page->on_Receive_clicked();
        for (int tick = 0; tick < 3; ++tick)
            mouse ? page->onMouseCheckTimer() : page->onDongleCheckTimer();
        MainPageDeviceList.clear();
        SetCurrentDeviceRecord(DeviceAllInfo());
        QFile::remove(big);
        return static_cast<QWidget*>(page);
    };
}

// The repair dialog showing the text `element` of its language section where its messages stand.
std::function<QWidget*()> repairMessage(const char* element)
{
    return [element] {
        auto* dialog = new UpDateRepair;
        QString text;
        loadLanguageSection(currentLanguageIndex(), QStringLiteral("AutoRepair"), {QString::fromLatin1(element)},
                            [&text](const QString&, const QString& value) { text = value; });
        dialog->findChild<QLabel*>(QStringLiteral("ToolText"))->setText(text);
        dialog->SlotAutoRepair(0);  // the confirm button shown, as with every message
        dialog->findChild<QLabel*>(QStringLiteral("ToolText"))->setText(text);
        return static_cast<QWidget*>(dialog);
    };
}

template <typename T>
std::function<QWidget*()> build(std::function<void(T*)> prepare = {})
{
    return [prepare] {
        auto* window = new T;
        if (prepare)
            prepare(window);
        return static_cast<QWidget*>(window);
    };
}

// The windows and states whose texts are checked; one line each (see the top of the file).
const std::vector<WindowEntry>& windows()
{
    static const std::vector<WindowEntry> list{
        {"MouseOffLine", build<MouseOffLine>()},
        {"MouseOffLine timed out", [] { OfflineTextIndex = 1; return static_cast<QWidget*>(new MouseOffLine); }},
        {"ExeIsRun", build<ExeIsRun>()},
        {"ExeIsRun label_2", build<ExeIsRun>([](ExeIsRun* d) { d->SetLabel2Text(); })},
        {"ExeIsRun PleaseStop", build<ExeIsRun>([](ExeIsRun* d) { d->SetPleaseStopText(); })},
        {"InportFail unreadable", [] { ImportResult = 0; return static_cast<QWidget*>(new InportFail); }},
        {"InportFail file text", [] { return static_cast<QWidget*>(new InportFail(1)); }},
        {"InportFail other sensor", [] { ImportResult = 2; return static_cast<QWidget*>(new InportFail); }},
        {"ExportFail", build<ExportFail>()},
        {"AutoStartFail", build<AutoStartFail>()},
        {"UserFolderFail", build<UserFolderFail>()},
        {"QuestiondialogB", build<QuestiondialogB>()},
        {"DamagedInstall list",
         [] { return static_cast<QWidget*>(new DamagedInstall(DamagedInstall::Fault::DeviceList)); }},
        {"DamagedInstall language",
         [] { return static_cast<QWidget*>(new DamagedInstall(DamagedInstall::Fault::LanguageFiles)); }},
        {"ContainReset", build<ContainReset>()},
        {"RePair", build<RePair>()},
        {"DeleteConfirm", build<DeleteConfirm>()},
        {"UpDateWarning", build<UpDateWarning>([](UpDateWarning* d) {
             FormSetting::ReadLanguageTexts(currentLanguageIndex());
             d->SetText(WiredModeText);
         })},
        {"LeftButtonOnly", build<LeftButtonOnly>()},
        {"MakeMacro", build<MakeMacro>()},
        {"SameMacro", build<SameMacro>()},
        {"GroupMaxThree", build<GroupMaxThree>()},
        {"KeyNumberLimit", build<KeyNumberLimit>()},
        {"LessThree", build<LessThree>()},
        {"FireKey", build<FireKey>()},
        {"AddDelayTime", build<AddDelayTime>()},
        {"GroupKey", build<GroupKey>()},
        {"addKey", build<addKey>()},
        {"QuestionDialog", build<QuestionDialog>()},
        {"Progress running", build<Progress>([](Progress* d) { d->SlotProgress(100, 0); })},
        {"Progress failed", build<Progress>([](Progress* d) { d->SlotProgress(0, 1); })},
        {"Progress succeeded", build<Progress>([](Progress* d) { d->SlotProgress(0, 2); })},
        {"Match", build<Match>()},
        {"Match on its cable", build<Match>([](Match* d) {
             PairChosenDevice = 1;
             PairingDevice = DeviceAllInfo();
             PairingDevice.path = QStringLiteral("cable");
             PairingDevice.cableFlag = 1;
             d->SetPairButtonImage();
         })},
        {"Match pairing", build<Match>([](Match* d) {
             for (int step = 0; step < 4; ++step)  // the longest form, with three dots
                 d->onTextTimeupDestroy();
         })},
        {"Match failed", build<Match>([](Match* d) { d->SlotButtonenable(0); })},
        {"Match paired", build<Match>([](Match* d) { d->SlotButtonenable(1); })},
        // The settings page with both receiver areas and both update buttons shown.
        {"FormSetting", build<FormSetting>([](FormSetting* d) {
             d->SlotMouseIndex(4);
             d->SlotLongRangeMode(false);
             d->SlotRGBValue(nullptr);
         })},
        {"FormSetting mouse note, no cable", settingsNote(true, 0)},
        {"FormSetting mouse note, two cables", settingsNote(true, 2)},
        {"FormSetting receiver note, none", settingsNote(false, 0)},
        {"FormSetting mouse note, broken file", settingsNote(true, 0, true)},
        {"UpDateRepair", build<UpDateRepair>()},
        {"UpDateRepair running", repairMessage("UpdateNotMove")},
        {"UpDateRepair no device", repairMessage("NoDevice")},
        {"UpDateRepair several devices", repairMessage("SameDevice")},
        {"UpDateRepair failed", repairMessage("UpdateFail")},
        {"UpDateRepair repaired", repairMessage("UpdateSuccess")},
        {"UpDateRepair broken file", repairMessage("BadFile")},
        {"UpDataParam", build<UpDataParam>()},
        // With the frame the first tile click builds, and its pages.
        {"DialogMain", build<DialogMain>([](DialogMain* w) { w->frame(); })},
        {"Sensor", build<Sensor>()},
        {"Macro", build<Macro>()},
        {"LampLight", build<LampLight>()},
        {"Buttoninterface", build<Buttoninterface>()},
        {"Buttoninterface debounce", buttonPage("page_9")},
        {"Buttoninterface multimedia", buttonPage("page_3")},
        {"Buttoninterface lights", buttonPage("page_6")},
        {"Buttoninterface DPI lock", buttonPage("page_8")},
        {"Buttoninterface scroll left and right", buttonPage("page_4")},
        {"Buttoninterface DPI functions", buttonPage("page_7")},
        {"Buttoninterface scroll up and down", buttonPage("page_10")},
        {"Buttoninterface DPI lock 1200 on a key", [] {
             auto* page = new Buttoninterface;
             FlashDataMap image{};
             image.buttons[0] = ButtonBinding{10, 23, 0};  // a sensor without a code table: 1200 DPI
             page->SlotUpDataButtonUIB(image);
             return static_cast<QWidget*>(page);
         }},
        {"LampLight colour area", build<LampLight>([](LampLight* page) {
             page->findChild<QComboBox*>(QStringLiteral("LightMod"))->setCurrentIndex(1);
         })},
    };
    return list;
}

QRect withoutMargin(const QRect& rect, int margin)
{
    return rect.adjusted(margin, margin, -margin, -margin);
}

// The size `text` needs in `font`, laid out `width` wide when it wraps.
QSize neededSize(const QString& text, const QFont& font, bool rich, bool wrap, int width)
{
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.setDocumentMargin(0);
        document.setHtml(text);
        if (wrap)
            document.setTextWidth(width);
        return document.size().toSize();
    }
    const QFontMetrics metrics(font);
    if (!wrap)
        return metrics.size(Qt::TextShowMnemonic, text);
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text).size();
}

// Where the label paints its text, in the label's own coordinates.
QRect labelTextRect(const QLabel* label, QSize* needed)
{
    const QRect area = withoutMargin(label->contentsRect(), label->margin());
    const bool rich = label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    *needed = neededSize(label->text(), label->font(), rich, label->wordWrap(), area.width());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), *needed, area);
}

// The rectangle a button's text may use.
QRect buttonTextArea(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    if (qobject_cast<const QCheckBox*>(button))
        return button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
    if (qobject_cast<const QRadioButton*>(button))
        return button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    // A little air on either side, so a text never touches the button's edge.
    return button->contentsRect().adjusted(3, 0, -3, 0);
}

QString describe(const QWidget* widget, const QString& text, QSize needed, QSize room)
{
    return QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
        .arg(widget->objectName(), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

bool fits(QSize needed, QSize room)
{
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The visible buttons of the window other than `except`, in window coordinates.
QList<QPair<const QWidget*, QRect>> otherButtons(const QWidget* window, const QWidget* except)
{
    QList<QPair<const QWidget*, QRect>> buttons;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button != except && button->isVisibleTo(window))
            buttons.append({button, QRect(button->mapTo(window, QPoint(0, 0)), button->size())});
    }
    return buttons;
}

// Every text of the window that does not fit, one line each.
QStringList misfits(const QWidget* window)
{
    QStringList found;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty())
            continue;
        QSize needed;
        const QRect text = labelTextRect(label, &needed);
        const QRect area = withoutMargin(label->contentsRect(), label->margin());
        if (!fits(needed, area.size()))
            found << describe(label, label->text(), needed, area.size());
        const QRect inWindow(label->mapTo(window, text.topLeft()), text.size());
        for (const auto& [button, rect] : otherButtons(window, label)) {
            if (!label->isAncestorOf(button) && inWindow.intersects(rect))
                found << QStringLiteral("%1 \"%2\" runs under %3").arg(label->objectName(), label->text(), button->objectName());
        }
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty())
            continue;
        const QSize needed = neededSize(button->text(), button->font(), false, false, 0);
        const QRect area = buttonTextArea(button);
        if (!fits(needed, area.size()))
            found << describe(button, button->text(), needed, area.size());
    }
    for (const QComboBox* box : window->findChildren<QComboBox*>()) {
        if (!box->isVisibleTo(window))
            continue;
        QStyleOptionComboBox option;
        option.initFrom(box);
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i) {
            const QSize needed = neededSize(box->itemText(i), box->font(), false, false, 0);
            if (needed.width() > field.width())
                found << describe(box, box->itemText(i), needed, field.size());
        }
    }
    return found;
}

}  // namespace

class LabelFitTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        UserConfig::reload();
    }

    void everyTextFits_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("language");
        for (int language = 0; language < LanguageCount; ++language) {
            for (int entry = 0; entry < int(windows().size()); ++entry)
                QTest::addRow("%s / %s", windows()[entry].name, qPrintable(LanguageNames().at(language))) << entry << language;
        }
    }

    void everyTextFits()
    {
        QFETCH(int, entry);
        QFETCH(int, language);
        MacroSetting::reload();
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(language));
        OfflineTextIndex = 0;
        ImportResult = 0;
        std::unique_ptr<QWidget> window(windows()[entry].build());
        window->show();
        QCoreApplication::processEvents();
        const QStringList found = misfits(window.get());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n   "))));
    }
};

QTEST_MAIN(LabelFitTest)
#include "tst_label_fit.moc"
