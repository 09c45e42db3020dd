#include "common/UserConfig.h"

#include "common/AppPaths.h"

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
    m_path = AppPaths::programDir() + QStringLiteral("/usersetting/Config.ini");
    m_settings = new QSettings(m_path, QSettings::IniFormat);
    m_settings->setIniCodec("UTF8");
    m_modelCount = checkedModelCount();
}

int UserConfig::checkedModelCount() const
{
    const QStringList groups = m_settings->childGroups();
    int modelGroups = 0;
    while (groups.contains(QStringLiteral("Drive") + QString::number(modelGroups + 1)))
        ++modelGroups;
    const QString text = m_settings->value(QStringLiteral("Option/DeviceTotal")).toString().trimmed();
    bool ok = false;
    const long long total = text.toLongLong(&ok);
    QString fault;
    if (groups.isEmpty())
        fault = QStringLiteral("no groups, so no \"DeviceTotal\"");
    else if (!ok || total < 0)
        fault = QStringLiteral("\"DeviceTotal\" is \"%1\", not a model count").arg(text);
    else if (total > modelGroups)
        fault = QStringLiteral("\"DeviceTotal\" is %1 but only %2 \"Drive\" groups follow").arg(total).arg(modelGroups);
    if (fault.isEmpty())
        return int(total);
    std::fprintf(stderr, "%s: %s; no model is listed\n", qPrintable(QDir::toNativeSeparators(m_path)), qPrintable(fault));
    return 0;
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
    m_settings->setIniCodec("UTF8");
    const QString text = m_settings->value(group + QLatin1Char('/') + key, QVariant()).toString();
    return isEncodedKey(key) ? decodeCatalogueText(text) : text;
}

QStringList UserConfig::valueList(QString group, QString key)
{
    QMutexLocker lock(&m_lock);
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
