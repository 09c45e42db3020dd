#include "common/MacroSetting.h"

#include "common/AppPaths.h"

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
    m_path = AppPaths::userDataDir() + QStringLiteral("/Macro.ini");
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
    m_settings->setIniCodec("UTF-8");
    return m_settings->value(group + QLatin1Char('/') + key, QVariant()).toString();
}

void MacroSetting::setValue(QString group, QString key, QString value)
{
    QMutexLocker lock(&m_lock);
    m_settings->setIniCodec("UTF-8");
    m_settings->setValue(group + QLatin1Char('/') + key, value);
    m_settings->sync();
}
