#pragma once
// Pieces of the test catalogues ("Config.ini"), written the way the shipped catalogue stores them.
#include "common/UserConfig.h"
#include "support/TestEnv.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace testcatalogue {

// An encoded key's value: each item in Base64, joined by ", ".
inline QByteArray encoded(const QStringList& items)
{
    QStringList out;
    for (const QString& item : items)
        out << QString::fromLatin1(item.toUtf8().toBase64());
    return out.join(QStringLiteral(", ")).toUtf8();
}

// The [Option] group's product ids: 0xF500 for cables, 0xF501..0xF504 for the receiver kinds
// (the 8 kHz one stored plain).
inline QByteArray productIdLines()
{
    QByteArray lines;
    lines += "USB_PID=" + encoded({QStringLiteral("0xF500")}) + "\n";
    lines += "Wireless_PID=" + encoded({QStringLiteral("0xF501")}) + "\n";
    lines += "Wireless2_PID=" + encoded({QStringLiteral("0xF502")}) + "\n";
    lines += "Wireless4_PID=" + encoded({QStringLiteral("0xF503")}) + "\n";
    lines += "Wireless8_PID=0xF504\n";
    return lines;
}

// Puts `ini` in the test's program folder as the catalogue and makes the program read it.
// QSettings reads a file again only when its size or modification time changed, and a file
// rewritten within one tick of the file system's clock keeps its time: every catalogue gets a
// later time than the one before, so one of the same size is never taken for the last.
inline void write(const TestEnv& env, const QByteArray& ini)
{
    static QDateTime lastStamp;
    env.writeProgramFile(QStringLiteral("usersetting/Config.ini"), ini);
    QDateTime stamp = QDateTime::currentDateTimeUtc();
    if (lastStamp.isValid() && stamp <= lastStamp)
        stamp = lastStamp.addMSecs(1);
    lastStamp = stamp;
    QFile file(env.programDir() + QStringLiteral("/usersetting/Config.ini"));
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(stamp, QFileDevice::FileModificationTime);
    UserConfig::reload();
}

}  // namespace testcatalogue
