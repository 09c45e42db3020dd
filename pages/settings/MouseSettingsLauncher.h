#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The desktop's own mouse settings: a table from desktop names (as XDG_CURRENT_DESKTOP lists
// them, any case) to the program that shows them. The first entry for the current desktop
// whose program is installed is the one started.
struct DesktopMouseSettings {
    QString desktop;
    QString program;
    QStringList arguments;
};

class MouseSettingsLauncher {
public:
    // Looks the command up once, in the table given (or the shipped one) for the desktops
    // named by `currentDesktops` (or XDG_CURRENT_DESKTOP).
    explicit MouseSettingsLauncher(const QList<DesktopMouseSettings>& table = commandTable(),
                                   const QString& currentDesktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP"));

    bool available() const { return !m_program.isEmpty(); }
    // Starts the command detached; the result is not looked at.
    void launch() const;

    // The table the page uses; tests put their own in place.
    static QList<DesktopMouseSettings> commandTable();
    static void setCommandTable(const QList<DesktopMouseSettings>& table);
    static QList<DesktopMouseSettings> shippedTable();

private:
    QString m_program;
    QStringList m_arguments;
};
