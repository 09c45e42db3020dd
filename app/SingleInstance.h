#pragma once
#include <QSharedMemory>
#include <QString>

// One running program per user: a 1-byte shared-memory segment whose key is "Single_myexe"
// followed by a hash of the per-user folder. The segment lives as long as the object does.
class SingleInstance {
public:
    explicit SingleInstance(const QString& userDataDir);

    // True when another live instance holds the segment. Otherwise this instance takes it.
    // A segment left behind by a killed instance is removed first, so a crash never locks
    // the user out.
    bool otherInstanceRunning();

    static QString keyFor(const QString& userDataDir);

private:
    QSharedMemory m_memory;
};
