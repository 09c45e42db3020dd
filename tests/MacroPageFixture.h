#pragma once
// Shared helpers of the Macro page tests: a test world with the language files and the
// notices' pictures, macro files written and read back, rows in a compact text form.
#include "support/TestEnv.h"

#include "common/MacroSetting.h"
#include "common/UserConfig.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QStringList>

#include <memory>

namespace macropage {

// A temporary home and program folder with the language files and the dialogs' pictures
// (copying every picture for each test is slow), the stores reloaded, no recording, and an
// empty macro folder.
inline std::unique_ptr<TestEnv> makeEnv()
{
    auto env = std::make_unique<TestEnv>();
    env->stageShippedData({QStringLiteral("Language"), QStringLiteral("Picture/WarningDialog")});
    UserConfig::reload();
    MacroSetting::reload();
    MacroRecording = 0;
    QDir().mkpath(MacroFolder());
    return env;
}

inline QString macroPath(const QString& name) { return MacroFolder() + QLatin1Char('/') + name + QStringLiteral(".ini"); }

inline bool writeMacro(const QString& name, const QByteArray& text)
{
    QFile f(macroPath(name));
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Rows written compactly: "A" a press, "A^" a release, "10ms" a delay.
inline MacroRows rowsOf(const QStringList& texts)
{
    MacroRows rows;
    for (const QString& t : texts)
        rows.append(t.endsWith(QLatin1Char('^')) && t.size() > 1 ? MacroRow{t.chopped(1), true} : MacroRow{t, false});
    return rows;
}

inline QStringList textsOf(const MacroRows& rows)
{
    QStringList texts;
    for (const MacroRow& r : rows)
        texts << (r.release ? r.text + QLatin1Char('^') : r.text);
    return texts;
}

// Makes the macro of that name the current entry of a page's macro list.
inline void selectMacro(QWidget& page, const QString& name)
{
    auto* list = page.findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
}

}  // namespace macropage
