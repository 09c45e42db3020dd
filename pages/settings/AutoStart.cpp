#include "pages/settings/AutoStart.h"

#include "common/TraceLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

AutoStartEntry::AutoStartEntry(const QString& configFolder, const QString& programPath)
    : m_configFolder(configFolder)
    , m_programPath(programPath)
{
}

namespace {

QString programName(const QString& programPath)
{
    return QFileInfo(programPath).completeBaseName();
}

}  // namespace

QString AutoStartEntry::entryPath() const
{
    QString folder = m_configFolder;
    if (folder.isEmpty()) {
        folder = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
            folder = QDir::homePath() + QStringLiteral("/.config");
    }
    const QString program = m_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_programPath;
    return folder + QStringLiteral("/autostart/") + programName(program) + QStringLiteral(".desktop");
}

QString AutoStartEntry::execValue(const QString& programPath)
{
    // Inside the quotes, the four characters the format reserves take a backslash; "%"
    // would start a field code.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // Then the escapes of every string value of the file.
    QString value;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QByteArray AutoStartEntry::entryText(const QString& programPath)
{
    QString name = programName(programPath);
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + name + QStringLiteral("\nExec=")
                         + execValue(programPath) + QStringLiteral("\nTerminal=false\n");
    return text.toUtf8();
}

bool AutoStartEntry::enable() const
{
    const QString path = entryPath();
    const QString program = m_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_programPath;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCDebug(kavroTrace).noquote() << "autostart entry" << path << "not written: the folder cannot be made";
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(program)) < 0 || !file.commit()) {
        qCDebug(kavroTrace).noquote() << "autostart entry" << path << "not written:" << file.errorString();
        return false;
    }
    return true;
}

bool AutoStartEntry::disable() const
{
    const QString path = entryPath();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.remove()) {
        qCDebug(kavroTrace).noquote() << "autostart entry" << path << "not removed:" << file.errorString();
        return false;
    }
    return true;
}
