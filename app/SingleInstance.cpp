#include "app/SingleInstance.h"

#include <QCryptographicHash>

SingleInstance::SingleInstance(const QString& userDataDir)
    : m_memory(keyFor(userDataDir))
{
}

QString SingleInstance::keyFor(const QString& userDataDir)
{
    const QByteArray hash = QCryptographicHash::hash(userDataDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("Single_myexe") + QString::fromLatin1(hash);
}

bool SingleInstance::otherInstanceRunning()
{
    // On Linux a segment survives the process that made it. Attaching and detaching once drops
    // a segment that nobody holds any more; a live instance keeps its own attachment.
    if (m_memory.attach())
        m_memory.detach();
    if (m_memory.attach())
        return true;
    m_memory.create(1);
    return false;
}
