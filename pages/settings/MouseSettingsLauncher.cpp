#include "pages/settings/MouseSettingsLauncher.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QList<DesktopMouseSettings>* g_table = nullptr;

}  // namespace

QList<DesktopMouseSettings> MouseSettingsLauncher::shippedTable()
{
    return {
        {QStringLiteral("GNOME"), QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("Unity"), QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("Budgie"), QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("KDE"), QStringLiteral("systemsettings"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("KDE"), QStringLiteral("systemsettings5"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("KDE"), QStringLiteral("kcmshell5"), {QStringLiteral("mouse")}},
        {QStringLiteral("XFCE"), QStringLiteral("xfce4-mouse-settings"), {}},
        {QStringLiteral("MATE"), QStringLiteral("mate-mouse-properties"), {}},
        {QStringLiteral("X-Cinnamon"), QStringLiteral("cinnamon-settings"), {QStringLiteral("mouse")}},
        {QStringLiteral("LXQt"), QStringLiteral("lxqt-config-input"), {}},
        {QStringLiteral("LXDE"), QStringLiteral("lxinput"), {}},
    };
}

QList<DesktopMouseSettings> MouseSettingsLauncher::commandTable()
{
    return g_table ? *g_table : shippedTable();
}

void MouseSettingsLauncher::setCommandTable(const QList<DesktopMouseSettings>& table)
{
    delete g_table;
    g_table = new QList<DesktopMouseSettings>(table);
}

MouseSettingsLauncher::MouseSettingsLauncher(const QList<DesktopMouseSettings>& table, const QString& currentDesktops)
{
    for (const QString& desktop : currentDesktops.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        for (const DesktopMouseSettings& entry : table) {
            if (entry.desktop.compare(desktop.trimmed(), Qt::CaseInsensitive) != 0)
                continue;
            const QString found = QStandardPaths::findExecutable(entry.program);
            if (found.isEmpty())
                continue;
            m_program = found;
            m_arguments = entry.arguments;
            return;
        }
    }
}

void MouseSettingsLauncher::launch() const
{
    if (available())
        QProcess::startDetached(m_program, m_arguments);
}
