// Device list of the choice page without any window: identification against the catalogue,
// the scan over vendor and product ids, duplicate detection and the tile rules.
#include "ChoiceTestCatalogue.h"

#include "device/SharedFlags.h"
#include "shell/ChoiceDevices.h"
#include "shell/ChoiceTiles.h"
#include "support/HidSimScript.h"

#include "HIDUsbControl.h"

#include <QtTest>

using namespace choicetest;

namespace {

DeviceAllInfo recordFor(int interfaceId)
{
    DeviceAllInfo record;
    record.path = QString::fromLocal8Bit(SimScript::path(interfaceId));
    return record;
}

DeviceAllInfo listed(int model, int kind, int cable)
{
    DeviceAllInfo r;
    r.modelIndex = model;
    r.kind = uint8_t(kind);
    r.cableFlag = uint8_t(cable);
    return r;
}

}  // namespace

Q_DECLARE_METATYPE(QList<DeviceAllInfo>)

class TestChoiceDevices : public QObject {
    Q_OBJECT
private slots:
    void init() { ChoiceDeviceList.clear(); }

    // The cable flag of the choice page: set when (kind AND 0xFA) is not 0.
    void fillMatchesModelAndFlag_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("flag");
        QTest::newRow("1 kHz receiver") << 0 << 0;
        QTest::newRow("4 kHz receiver") << 1 << 0;
        QTest::newRow("cable") << 2 << 1;
        QTest::newRow("8 kHz cable") << 3 << 1;
        QTest::newRow("2 kHz receiver") << 4 << 0;
        QTest::newRow("8 kHz receiver") << 5 << 0;
    }
    void fillMatchesModelAndFlag()
    {
        QFETCH(int, kind);
        QFETCH(int, flag);
        TestEnv env;
        writeCatalogue(env, 3, {4, 5, 6});
        DeviceAllInfo record = recordFor(plugDevice(10, 5, kind));
        QVERIFY(FillChoiceDeviceRecord(record));
        QCOMPARE(int(record.cableFlag), flag);
        QCOMPARE(record.modelIndex, 1);
        QCOMPARE(int(record.cid), 10);
        QCOMPARE(int(record.mid), 5);
        QCOMPARE(int(record.kind), kind);
        QCOMPARE(int(record.online), 1);
    }

    // Nine answers are examined; a device that identifies itself only at the tenth call is
    // listed as unlisted, keeping the kind it answered.
    void fillGivesUpAtTenthCall()
    {
        TestEnv env;
        writeCatalogue(env, 3);
        DeviceAllInfo ninth = recordFor(plugDevice(10, 2, 4, nullptr, 1, 0x0102, 8));
        QVERIFY(FillChoiceDeviceRecord(ninth));
        QCOMPARE(ninth.modelIndex, 1);

        DeviceAllInfo tenth = recordFor(plugDevice(10, 2, 4, nullptr, 1, 0x0102, 9));
        tenth.cid = 77;
        tenth.mid = 77;
        QVERIFY(FillChoiceDeviceRecord(tenth));
        QCOMPARE(tenth.modelIndex, 3);
        QCOMPARE(int(tenth.kind), 4);
        QCOMPARE(int(tenth.cid), 0);
        QCOMPARE(int(tenth.mid), 0);
        QCOMPARE(int(tenth.cableFlag), 0);
        QCOMPARE(int(tenth.online), 0);
    }

    void fillUnmatchedAndEmptyCatalogue()
    {
        TestEnv env;
        writeCatalogue(env, 2);
        DeviceAllInfo unknown = recordFor(plugDevice(10, 9, 3));
        QVERIFY(FillChoiceDeviceRecord(unknown));
        QCOMPARE(unknown.modelIndex, 2);
        QCOMPARE(int(unknown.kind), 3);
        QCOMPARE(int(unknown.cableFlag), 1);
        QCOMPARE(int(unknown.mid), 0);

        writeCatalogue(env, 0);
        DeviceAllInfo answering = recordFor(plugDevice(10, 1, 2));
        QVERIFY(!FillChoiceDeviceRecord(answering));
        // A device that never identifies itself is listed all the same.
        DeviceAllInfo silent = recordFor(plugDevice(10, 1, 0, nullptr, 1, 0x0102, 100));
        QVERIFY(FillChoiceDeviceRecord(silent));
        QCOMPARE(silent.modelIndex, 0);
    }

    void scanJoinsProductIdsAndVendors()
    {
        TestEnv env;
        writeCatalogue(env, 3);
        QCOMPARE(choiceVendorIds(), (QStringList{QStringLiteral("0x3554"), QStringLiteral("0x3555")}));
        QCOMPARE(choiceProductIds(), (QStringList{QStringLiteral("0xF500"), QStringLiteral("0xF501"),
                                                  QStringLiteral("0xF502"), QStringLiteral("0xF503"),
                                                  QStringLiteral("0xF504")}));
        plugDevice(10, 1, 2, nullptr, 1, 0x011A);
        plugDevice(10, 2, 5);
        plugLoneInterface("0x3555", "0xF501", 0);  // the catalogue's other vendor id
        plugLoneInterface("0x1234", "0xF500", 2);  // a foreign vendor

        RescanChoiceDevices();
        QCOMPARE(ChoiceDeviceList.size(), 3);
        QCOMPARE(ChoiceDeviceList.at(0).productId, QStringLiteral("0xF500"));
        QCOMPARE(ChoiceDeviceList.at(0).firmwareVersion, QStringLiteral("v1.1a"));
        QCOMPARE(ChoiceDeviceList.at(0).modelIndex, 0);
        QCOMPARE(ChoiceDeviceList.at(1).productId, QStringLiteral("0xF504"));
        QCOMPARE(ChoiceDeviceList.at(1).modelIndex, 1);
        QCOMPARE(ChoiceDeviceList.at(2).vendorId, QStringLiteral("0x3555"));
        QCOMPARE(ChoiceDeviceList.at(2).modelIndex, 3);

        RefreshDeviceStatus(0);
        QCOMPARE(int(ChoiceDeviceList.at(0).online), 1);
        QCOMPARE(ChoiceDeviceList.at(0).statusBytes, (QList<uint8_t>{1, 2, 3}));
        RefreshDeviceStatus(7);  // outside the list: nothing happens
    }

    // Counts are kept per category and model, for every model the catalogue lists and the
    // unlisted slot; a second record in any slot means identical devices.
    void duplicates_data()
    {
        QTest::addColumn<int>("models");
        QTest::addColumn<QList<DeviceAllInfo>>("records");
        QTest::addColumn<bool>("duplicate");
        QTest::addColumn<int>("kept");
        QTest::newRow("two same receivers") << 11 << QList<DeviceAllInfo>{listed(1, 0, 0), listed(1, 0, 0)} << true << 2;
        QTest::newRow("same receivers, small catalogue")
            << 2 << QList<DeviceAllInfo>{listed(1, 4, 0), listed(1, 4, 0)} << true << 2;
        QTest::newRow("same model, other kinds")
            << 11 << QList<DeviceAllInfo>{listed(3, 0, 0), listed(3, 4, 0), listed(3, 1, 0)} << false << 3;
        QTest::newRow("two cables of one model") << 11 << QList<DeviceAllInfo>{listed(2, 2, 1), listed(2, 3, 1)} << true << 2;
        QTest::newRow("two unlisted receivers") << 3 << QList<DeviceAllInfo>{listed(3, 5, 0), listed(3, 5, 0)} << true << 2;
        QTest::newRow("cable wins over its receivers")
            << 11 << QList<DeviceAllInfo>{listed(4, 0, 0), listed(4, 2, 1), listed(5, 1, 0), listed(4, 1, 0)} << false << 2;
        QTest::newRow("fifteen models, no overflow")
            << 20 << QList<DeviceAllInfo>{listed(19, 0, 0), listed(20, 0, 0), listed(16, 2, 1)} << false << 3;
    }
    void duplicates()
    {
        QFETCH(int, models);
        QFETCH(QList<DeviceAllInfo>, records);
        QFETCH(bool, duplicate);
        QFETCH(int, kept);
        QCOMPARE(findDuplicatesAndPreferCable(records, models), duplicate);
        QCOMPARE(records.size(), kept);
        for (const DeviceAllInfo& r : records) {
            if (!duplicate && r.modelIndex == 4)
                QCOMPARE(int(r.cableFlag), 1);
        }
    }
};


QTEST_GUILESS_MAIN(TestChoiceDevices)
#include "tst_choice_devices.moc"
