#include "common/UserStoreFile.h"

#include "common/CheckedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

QString damagedStoreName(const QString& path)
{
    const QString first = path + QStringLiteral(".damaged");
    QString name = first;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = first + QLatin1Char('-') + QString::number(n);
    return name;
}

bool keepDamagedStoreAside(const QString& path, const QString& error)
{
    // A rename moves a pipe, a folder or a huge file alike without reading it (QFile::rename
    // would copy what it cannot rename, and so read the pipe).
    const QString aside = damagedStoreName(path);
    const bool moved = std::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0;
    if (moved)
        std::fprintf(stderr, "%s; kept as %s, the defaults are used\n", qPrintable(error),
                     qPrintable(QDir::toNativeSeparators(aside)));
    else
        std::fprintf(stderr, "%s; it cannot be moved aside, the defaults are used and nothing is saved\n",
                     qPrintable(error));
    return moved;
}

bool prepareUserStoreFile(const QString& path, qint64 limit)
{
    const CheckedFile::Result check = CheckedFile::check(path, limit);
    if (!check.damaged())
        return true;
    return keepDamagedStoreAside(path, check.error);
}
