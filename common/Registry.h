#pragma once
#include <QString>
#include <QVariant>

// The few values the program keeps under "HKEY_CURRENT_USER\Software\...".
// A registry path "HKEY_CURRENT_USER\Software\<Organisation>\<Application>\<rest>" maps
// onto the native settings of that organisation and application (on Linux the file
// "<config folder>/<Organisation>/<Application>.conf"), with <rest> as the group
// (backslashes become "/"). Each call opens the settings afresh, so it is safe from any
// thread; writes reach the disk at once. A damaged file (a pipe, device or folder, over
// CheckedFile::SettingsLimit, unreadable) is kept aside and reads as empty.
//
//   Registry::setValue("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test", "MouseVer1020", "v1.3");
namespace Registry {

QVariant value(const QString& registryPath, const QString& name, const QVariant& fallback = QVariant());
void setValue(const QString& registryPath, const QString& name, const QVariant& value);
void remove(const QString& registryPath, const QString& name);
bool contains(const QString& registryPath, const QString& name);

// The settings file a registry path maps to (empty for a path outside
// "HKEY_CURRENT_USER\Software\").
QString settingsFile(const QString& registryPath);

// Folder under which the settings files live; by default the user's configuration
// folder. Tests point it at a temporary folder; an empty text restores the default.
void setBaseFolder(const QString& folder);
QString baseFolder();

}  // namespace Registry
