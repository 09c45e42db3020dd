#include "preview/DialogPreview.h"

#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/GroupMaxThree.h"
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
#include "pages/settings/FormSetting.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "common/LanguageFile.h"
#include "device/SharedFlags.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

namespace {
template <typename T>
std::pair<const char*, std::function<QDialog*()>> entry(const char* name)
{
    return {name, [] { return new T; }};
}

const std::pair<const char*, std::function<QDialog*()>> Dialogs[] = {
    entry<MouseOffLine>("MouseOffLine"),
    entry<ExeIsRun>("ExeIsRun"),
    // Shown as their callers show them: the import notice for a file of another maker, the
    // update warning with the settings page's text.
    {"InportFail", [] {
         ImportResult = 1;
         return static_cast<QDialog*>(new InportFail);
     }},
    entry<QuestiondialogB>("QuestiondialogB"),
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
    entry<Match>("Match"),
    entry<UpDateRepair>("UpDateRepair"),
    {"Progress", [] {
         auto* progress = new Progress;
         progress->SlotProgress(42, 0);
         return progress;
     }},
};
}  // namespace

int runDialogPreview(const QByteArray& wanted)
{
    for (const auto& [name, make] : Dialogs) {
        if (wanted != name)
            continue;
        std::unique_ptr<QDialog> dialog(make());
        if (QScreen* screen = QGuiApplication::primaryScreen())
            dialog->move(screen->geometry().center() - dialog->rect().center());
        dialog->exec();
        return 0;
    }
    std::fprintf(stderr, "unknown dialog \"%s\"; known:", wanted.constData());
    for (const auto& item : Dialogs)
        std::fprintf(stderr, " %s", item.first);
    std::fprintf(stderr, "\n");
    return 2;
}
