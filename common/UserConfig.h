#pragma once
#include <QMutex>
#include <QString>
#include <QStringList>

class QSettings;

// Read-only store over the product catalogue "/usersetting/Config.ini" in the program's
// folder. One process-wide object, created on first use and never destroyed. Reads are
// safe from any thread (each read holds the store's lock).
//
// The values of the catalogue keys "MM", "DM", "D2M", "D4M", "Sensor", "CID", "VID",
// "USB_PID", "Wireless_PID", "Wireless2_PID" and "Wireless4_PID" (in any group) are stored
// as Base64 of UTF-8 text and are decoded on every read, with line feeds and blanks removed.
class UserConfig {
public:
    static UserConfig* instance();

    // A missing key reads as empty text. A value with several comma-separated items reads
    // as empty text here; use valueList for those.
    QString value(QString group, QString key);
    // A missing key reads as an empty list; a single value as a list of one.
    QStringList valueList(QString group, QString key);

    // Opens the catalogue again from the current program folder (AppPaths::programDir()).
    // Tests call this after pointing the program folder at a fixture. The settings layer
    // caches files by path and keeps its copy while size and modification time stay the
    // same (file times are coarse), so a fixture rewritten in place must change its size.
    static void reload();

    static bool isEncodedKey(const QString& key);

    // The number of models the catalogue lists: "Option"/"DeviceTotal". A catalogue whose
    // "DeviceTotal" is not a number from 0 up to its count of "Drive1", "Drive2" ... groups,
    // or that has no group at all (an empty, missing or garbage file), is refused when it is
    // opened, with one line on standard error naming the file and the key: it lists no model.
    // So is a file that the checked opener refuses (a pipe, device or folder, over
    // CheckedFile::CatalogueLimit, unreadable); it is never opened and every key reads as missing.
    int modelCount();

    // What is wrong with the catalogue (as in the line on standard error): empty when it is sound.
    QString fault();

private:
    UserConfig();
    ~UserConfig();
    UserConfig(const UserConfig&) = delete;
    UserConfig& operator=(const UserConfig&) = delete;
    void open();
    // What is wrong with the open file's content; sets *modelCount when nothing is.
    QString contentFault(int* modelCount) const;

    QMutex m_lock;
    QSettings* m_settings = nullptr;  // null for a file the opener refused
    QString m_path;
    int m_modelCount = 0;
    QString m_fault;
};

// Base64-decodes a text given in the local 8-bit encoding; nothing is removed.
QString DecodeBase64Text(QString text);
