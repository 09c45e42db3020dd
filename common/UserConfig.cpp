#include "common/UserConfig.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QVariant>

#include <cstdio>

namespace {

QBasicMutex creationLock;
UserConfig* store = nullptr;

QString decodeCatalogueText(const QString& stored)
{
    QString text = QString::fromUtf8(QByteArray::fromBase64(stored.toUtf8()));
    text.remove(QLatin1Char('\n'));
    text.remove(QLatin1Char(' '));
    return text;
}

}  // namespace

UserConfig* UserConfig::instance()
{
    QMutexLocker lock(&creationLock);
    if (!store)
        store = new UserConfig;
    return store;
}

UserConfig::UserConfig()
{
    open();
}

UserConfig::~UserConfig()
{
    delete m_settings;
}

void UserConfig::open()
{
    delete m_settings;
    m_settings = nullptr;
    m_path = AppPaths::programDir() + QStringLiteral("/usersetting/Config.ini");
    // Checked before the settings layer opens it: a pipe would stop that for ever, and a huge
    // file would be read whole at every start.
    const CheckedFile::Result check = CheckedFile::check(m_path, CheckedFile::CatalogueLimit);
    if (check.ok()) {
        m_settings = new QSettings(m_path, QSettings::IniFormat);
        m_settings->setIniCodec("UTF8");
    }
    m_fault = check.ok() ? contentFault(&m_modelCount) : check.reason;
    if (m_fault.isEmpty())
        return;
    m_modelCount = 0;
    std::fprintf(stderr, "%s: %s; no model is listed\n", qPrintable(QDir::toNativeSeparators(m_path)), qPrintable(m_fault));
}

QString UserConfig::contentFault(int* modelCount) const
{
    const QStringList groups = m_settings->childGroups();
    int modelGroups = 0;
    while (groups.contains(QStringLiteral("Drive") + QString::number(modelGroups + 1)))
        ++modelGroups;
    const QString text = m_settings->value(QStringLiteral("Option/DeviceTotal")).toString().trimmed();
    bool ok = false;
    const long long total = text.toLongLong(&ok);
    if (groups.isEmpty())
        return QStringLiteral("no groups, so no \"DeviceTotal\"");
    if (!ok || total < 0)
        return QStringLiteral("\"DeviceTotal\" is \"%1\", not a model count").arg(text);
    if (total > modelGroups)
        return QStringLiteral("\"DeviceTotal\" is %1 but only %2 \"Drive\" groups follow").arg(total).arg(modelGroups);
    *modelCount = int(total);
    return QString();
}

QString UserConfig::fault()
{
    QMutexLocker lock(&m_lock);
    return m_fault;
}

int UserConfig::modelCount()
{
    QMutexLocker lock(&m_lock);
    return m_modelCount;
}

void UserConfig::reload()
{
    {
        QMutexLocker lock(&creationLock);
        if (!store) {
            store = new UserConfig;  // opens the current folder's catalogue
            return;
        }
    }
    QMutexLocker lock(&store->m_lock);
    store->open();
}

bool UserConfig::isEncodedKey(const QString& key)
{
    static const QStringList encoded = {
        QStringLiteral("MM"),      QStringLiteral("DM"),           QStringLiteral("D2M"),
        QStringLiteral("D4M"),     QStringLiteral("Sensor"),       QStringLiteral("CID"),
        QStringLiteral("VID"),     QStringLiteral("USB_PID"),      QStringLiteral("Wireless_PID"),
        QStringLiteral("Wireless2_PID"), QStringLiteral("Wireless4_PID")};
    return encoded.contains(key, Qt::CaseSensitive);
}

QString UserConfig::value(QString group, QString key)
{
    // Decoded under the lock too, so no copy shared with the settings object is touched
    // by two threads at once.
    QMutexLocker lock(&m_lock);
    if (!m_settings)
        return QString();
    m_settings->setIniCodec("UTF8");
    const QString text = m_settings->value(group + QLatin1Char('/') + key, QVariant()).toString();
    return isEncodedKey(key) ? decodeCatalogueText(text) : text;
}

QStringList UserConfig::valueList(QString group, QString key)
{
    QMutexLocker lock(&m_lock);
    if (!m_settings)
        return QStringList();
    m_settings->setIniCodec("UTF8");
    QStringList list = m_settings->value(group + QLatin1Char('/') + key, QVariant()).toStringList();
    if (isEncodedKey(key)) {
        for (QString& item : list)
            item = decodeCatalogueText(item);
    }
    return list;
}

QString DecodeBase64Text(QString text)
{
    return QString::fromLocal8Bit(QByteArray::fromBase64(text.toLocal8Bit()));
}
