#pragma once
#include <QByteArray>
#include <QString>

// Start with the system: a desktop autostart entry "<config>/autostart/<name>.desktop", the
// configuration folder $XDG_CONFIG_HOME (~/.config when unset), <name> the program's base name.
class AutoStartEntry {
public:
    // Empty arguments take the user's configuration folder and the running program.
    explicit AutoStartEntry(const QString& configFolder = QString(), const QString& programPath = QString());

    void setConfigFolder(const QString& folder) { m_configFolder = folder; }
    void setProgramPath(const QString& path) { m_programPath = path; }

    QString entryPath() const;
    // Writes the entry whole (the folder is created); false, with a log line, when it fails.
    bool enable() const;
    // Removes the entry when it exists; false, with a log line, when it stays.
    bool disable() const;

    // The entry's text for the program at `programPath`.
    static QByteArray entryText(const QString& programPath);
    // A program path as one Exec argument: quoted, with the characters the desktop entry
    // format reserves escaped, so blanks, quotes, backslashes and dollar signs survive.
    static QString execValue(const QString& programPath);

private:
    QString m_configFolder;
    QString m_programPath;
};
