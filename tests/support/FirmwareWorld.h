#pragma once
// The world of a firmware update or repair test: the whole program's world, no update running
// or recorded from an earlier test, and the library's next update scripted as three progress
// reports and success. Wait scales changed by the test go back when the world ends.
#include "support/ProgramWorld.h"

#include <QByteArray>
#include <QString>

struct FirmwareWorld : ProgramWorld {
    FirmwareWorld();
    ~FirmwareWorld();

    // The failed-update record, "" when there is none.
    static QString failRecord();
    static void setFailRecord(const QString& record);
    // A firmware image file in the program's "/bin" folder, with the catalogue's CID.
    void writeImage(const QString& name, uint32_t version, uint8_t kind, uint8_t mid, const QByteArray& model) const;
    // Makes that file larger than any image may be (sparse: nothing large is written).
    bool oversize(const QString& name) const;
};
