#pragma once
#include <QHash>
#include <QMutex>
#include <QString>

class QSettings;

// Store over the user settings file "/Macro.ini" in the per-user folder (language index,
// start with the session, a few page values). One process-wide object, created on first
// use and never destroyed. Every write reaches the disk at once: the tray's exit ends the
// process without any flush. A damaged file (a pipe, device or folder, over
// CheckedFile::SettingsLimit, unreadable) is kept aside and the defaults are used.
class MacroSetting {
public:
    static MacroSetting* instance();

    // Empty text when the key is missing.
    QString value(QString group, QString key);
    void setValue(QString group, QString key, QString value);

    // Opens the file again from the current per-user folder (the home folder may have
    // changed). Tests call this after pointing HOME at a temporary folder.
    static void reload();

private:
    MacroSetting();
    ~MacroSetting();
    MacroSetting(const MacroSetting&) = delete;
    MacroSetting& operator=(const MacroSetting&) = delete;
    void open();

    QMutex m_lock;
    QSettings* m_settings = nullptr;  // null while a damaged file could not be moved aside
    QHash<QString, QString> m_unsaved;  // the values of this run then
    QString m_path;
};
