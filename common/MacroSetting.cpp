#include "common/MacroSetting.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/UserStoreFile.h"

#include <QSettings>
#include <QVariant>

namespace {
QBasicMutex creationLock;
MacroSetting* store = nullptr;
}  // namespace

MacroSetting* MacroSetting::instance()
{
    QMutexLocker lock(&creationLock);
    if (!store)
        store = new MacroSetting;
    return store;
}

MacroSetting::MacroSetting()
{
    open();
}

MacroSetting::~MacroSetting()
{
    delete m_settings;
}

void MacroSetting::open()
{
    delete m_settings;
    m_settings = nullptr;
    m_unsaved.clear();
    m_path = AppPaths::userDataDir() + QStringLiteral("/Macro.ini");
    // A damaged file is moved aside first; one that cannot be moved is never opened (a pipe
    // would stop the settings layer for ever), and the values of this run stay in memory.
    if (prepareUserStoreFile(m_path, CheckedFile::SettingsLimit))
        m_settings = new QSettings(m_path, QSettings::IniFormat);
}

void MacroSetting::reload()
{
    MacroSetting* settings = instance();
    QMutexLocker lock(&settings->m_lock);
    settings->open();
}

QString MacroSetting::value(QString group, QString key)
{
    QMutexLocker lock(&m_lock);
    if (!m_settings)
        return m_unsaved.value(group + QLatin1Char('/') + key);
    m_settings->setIniCodec("UTF-8");
    return m_settings->value(group + QLatin1Char('/') + key, QVariant()).toString();
}

void MacroSetting::setValue(QString group, QString key, QString value)
{
    QMutexLocker lock(&m_lock);
    if (!m_settings) {
        m_unsaved.insert(group + QLatin1Char('/') + key, value);
        return;
    }
    m_settings->setIniCodec("UTF-8");
    m_settings->setValue(group + QLatin1Char('/') + key, value);
    // The write reads the file again first when it changed: checked again, since it may have
    // been replaced while the program ran.
    if (prepareUserStoreFile(m_path, CheckedFile::SettingsLimit))
        m_settings->sync();
}
