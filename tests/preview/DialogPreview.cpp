#include "preview/DialogPreview.h"

#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/AutoStartFail.h"
#include "dialogs/UserFolderFail.h"
#include "dialogs/ExportFail.h"
#include "dialogs/DamagedInstall.h"
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
#include "pages/macro/Macro.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/LanSetting.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/CurrentDevice.h"
#include "device/DeviceRecords.h"
#include "device/FoundDevicePaths.h"
#include "device/SharedFlags.h"

#include "HIDUsbControl.h"

#include <QByteArray>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace {
template <typename T>
std::pair<const char*, std::function<QDialog*()>> entry(const char* name)
{
    return {name, [] { return new T; }};
}

// The macro page in a plain window, with a few macros and one macro's rows shown; with
// `menu` the macro list's context menu stands open over the shown macro.
QDialog* macroPagePreview(bool menu)
{
    const QString folder = MacroFolder();
    for (const QString& name : {QStringLiteral("Copy"), QStringLiteral("Burst fire"), QStringLiteral("Build order"),
                                QString::fromUtf8("\u30de\u30af\u30ed 1")})
        WriteMacroFile(MacroFilePath(folder, name), 1, {});
    auto* window = new QDialog;
    window->setStyleSheet("QDialog{background:rgb(24,28,34);}");
    auto* page = new Macro(window);
    (new QVBoxLayout(window))->addWidget(page);
    // Written once the page has set the mouse-button names of the current language.
    const QString left = MouseButtonNames[0];
    WriteMacroFile(MacroFilePath(folder, "Copy"), 254,
                   {{"LCtrl", false}, {"12ms", false}, {"C", false}, {"30ms", false}, {"C", true}, {"8ms", false},
                    {"LCtrl", true}, {"150ms", false}, {left, false}, {"10ms", false}, {left, true}});
    auto* list = page->findChild<QListWidget*>("listWidgetHong");
    list->setCurrentItem(list->findItems("Copy", Qt::MatchExactly).value(0));
    if (menu) {
        QTimer::singleShot(800, page, [page, list] {
            const QPoint at = list->visualItemRect(list->currentItem()).center();
            page->buildContextMenu(at)->popup(list->viewport()->mapToGlobal(at));
        });
    }
    return window;
}

// The pairing dialog for the first demo device of product id `pid`. With `pairingAnswers` of
// 0 or more the run starts at once and the receiver answers as scripted (outcome 3 paired,
// 2 failed); below 0 the dialog stays ready.
QDialog* pairingPreview(const char* pid, int pairingAnswers = -1, int outcome = 3)
{
    const char* vid = "0x3554";
    int count = MaxPathsPerId;
    char** found = UsbFinderC_FindHidDevicesByDefaultDeviceId(vid, pid, &count);
    const QStringList paths = CopyFoundPaths(found, count, PathEncoding::Utf8);
    PairChosenDevice = 1;
    if (!paths.isEmpty()) {
        PairingDevice = RecordForFoundPath(paths.first(), QString::fromLatin1(vid), QString::fromLatin1(pid),
                                           PathEncoding::Utf8);
        PairingDevice.cableFlag = std::strcmp(pid, "0xF500") == 0 ? 1 : 0;
    }
    auto* match = new Match;
    match->SetPairButtonImage();
    if (pairingAnswers >= 0) {
        HidSim_ScriptPairing(pairingAnswers, outcome, -1);
        match->on_MatchButton_clicked();
    }
    return match;
}

// The repair dialog repairing a receiver of the model "KVM-PICO" with the build's demonstration
// image (a library that does not report on its own here): running at `percent`, or with its
// outcome (0 repaired, 1 failed) when `outcome` is 0 or 1.
QDialog* repairPreview(int percent, int outcome = -1)
{
    HidSimMouseSetup mouse{};
    mouse.cid = 10;
    mouse.mid = 6;
    mouse.version = 0x0106;
    mouse.battery = 60;
    mouse.awake = 1;
    HidSimInterfaceSetup receiver{};
    receiver.vid = "0x3554";
    receiver.pid = "0xF501";
    receiver.kind = 0;
    receiver.version = 0x0101;
    receiver.mouseId = HidSim_AddMouse(&mouse);
    HidSim_AddInterface(&receiver);
    HidSim_ScriptFirmware(0, 0, HIDSIM_FIRMWARE_SILENT);
    auto* repair = new UpDateRepair;
    UpDateRepair::CheckFirmwareFile(repair, 211, QStringLiteral("v1.1"), QStringLiteral("KVR-1K"), 10, 6);
    repair->StartRepair(0);
    repair->SlotAutoRepairProgress(percent);
    if (outcome >= 0)
        repair->SlotAutoRepair(outcome);
    return repair;
}

const std::pair<const char*, std::function<QDialog*()>> Dialogs[] = {
    {"MacroPage", [] { return macroPagePreview(false); }},
    {"MacroPageMenu", [] { return macroPagePreview(true); }},
    // Recording once shown: the screenshot script types keys into it.
    {"MacroPageRecording", [] {
         QDialog* window = macroPagePreview(false);
         auto* start = window->findChild<QPushButton*>(QStringLiteral("StartRecord"));
         QTimer::singleShot(500, start, [start] { start->click(); });
         return window;
     }},
    entry<MouseOffLine>("MouseOffLine"),
    entry<ExeIsRun>("ExeIsRun"),
    // Shown as their callers show them: the import notice for a file of another maker, the
    // update warning with the settings page's text.
    {"InportFail", [] {
         ImportResult = 1;
         return static_cast<QDialog*>(new InportFail);
     }},
    entry<ExportFail>("ExportFail"),
    entry<AutoStartFail>("AutoStartFail"),
    entry<UserFolderFail>("UserFolderFail"),
    entry<QuestiondialogB>("QuestiondialogB"),
    {"DamagedInstall", [] { return static_cast<QDialog*>(new DamagedInstall(DamagedInstall::Fault::DeviceList)); }},
    {"DamagedInstall-language",
     [] { return static_cast<QDialog*>(new DamagedInstall(DamagedInstall::Fault::LanguageFiles)); }},
    entry<ContainReset>("ContainReset"),
    entry<RePair>("RePair"),
    entry<DeleteConfirm>("DeleteConfirm"),
    {"UpDateWarning", [] {
         FormSetting::ReadLanguageTexts(currentLanguageIndex());
         auto* warning = new UpDateWarning;
         warning->SetText(WiredModeText);
         return static_cast<QDialog*>(warning);
     }},
    entry<LeftButtonOnly>("LeftButtonOnly"),
    entry<MakeMacro>("MakeMacro"),
    entry<SameMacro>("SameMacro"),
    entry<GroupMaxThree>("GroupMaxThree"),
    entry<KeyNumberLimit>("KeyNumberLimit"),
    entry<LessThree>("LessThree"),
    // Pairing the demo 4 kHz receiver: ready, pairing, paired, failed; and a mouse on its cable.
    {"Match", [] { return pairingPreview("0xF503"); }},
    {"Match-pairing", [] { return pairingPreview("0xF503", 1000000); }},
    {"Match-success", [] { return pairingPreview("0xF503", 0, 3); }},
    {"Match-failure", [] { return pairingPreview("0xF503", 0, 2); }},
    {"Match-cable", [] { return pairingPreview("0xF500"); }},
    {"LanSetting", [] {
         DeviceAllInfo record;
         record.online = 1;
         record.firmwareVersion = QStringLiteral("v1.2");
         record.mouseVersion = QStringLiteral("v1.5");
         SetCurrentDeviceRecord(record);
         auto* dialog = new LanSetting;
         dialog->ShowVersions();
         return static_cast<QDialog*>(dialog);
     }},
    // The dialogs that take keys and values.
    entry<FireKey>("FireKey"),
    entry<AddDelayTime>("AddDelayTime"),
    entry<GroupKey>("GroupKey"),
    entry<addKey>("addKey"),
    entry<QuestionDialog>("QuestionDialog"),
    entry<UpDateRepair>("UpDateRepair"),
    {"UpDateRepair-running", [] { return repairPreview(57); }},
    {"UpDateRepair-success", [] { return repairPreview(100, 0); }},
    {"UpDateRepair-failure", [] { return repairPreview(40, 1); }},
    {"Progress", [] {
         auto* progress = new Progress;
         progress->SlotProgress(42, 0);
         return progress;
     }},
    {"Progress-failure", [] {
         auto* progress = new Progress;
         progress->SlotProgress(0, 3);
         progress->SlotProgress(45, 0);  // how far it came before the failure
         progress->SlotProgress(0, 1);
         return progress;
     }},
};
}  // namespace

QList<QByteArray> previewDialogNames()
{
    QList<QByteArray> names;
    for (const auto& item : Dialogs)
        names.append(QByteArray(item.first));
    return names;
}

QDialog* makePreviewDialog(const QByteArray& wanted)
{
    for (const auto& [name, make] : Dialogs) {
        if (wanted == name)
            return make();
    }
    return nullptr;
}

int runDialogPreview(const QByteArray& wanted, bool overWindow)
{
    std::unique_ptr<QDialog> dialog(makePreviewDialog(wanted));
    if (!dialog) {
        std::fprintf(stderr, "unknown dialog \"%s\"; known:", wanted.constData());
        for (const auto& item : Dialogs)
            std::fprintf(stderr, " %s", item.first);
        std::fprintf(stderr, "\n");
        return 2;
    }
    // A stand-in for the program's window, which the dialog is opened from and belongs to.
    QWidget window;
    if (overWindow) {
        window.setStyleSheet(QStringLiteral("background:rgb(24,28,34);"));
        window.resize(1000, 640);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            window.move(screen->geometry().center() - window.rect().center());
        window.show();
        placeCentred(dialog.get(), &window);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog->move(screen->geometry().center() - dialog->rect().center());
    }
    dialog->exec();
    return 0;
}
