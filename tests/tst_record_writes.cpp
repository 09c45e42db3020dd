// Factory defaults and macro records through the setters: exact bytes in the simulated
// library's stored image, nothing written for bad defaults or an offline mouse.
#include "support/HidSimScript.h"
#include "support/TestEnv.h"

#include "HIDUsbControl.h"
#include "device/ButtonRecords.h"
#include "device/CurrentDevice.h"
#include "device/DeviceSetters.h"
#include "device/KeyNames.h"
#include "device/MacroRecordCodec.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"

#include <QtTest>

#include <memory>

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "").replace('|', "")); }

}  // namespace

class RecordWritesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mediaDefaultOnSlotSix();
    void comboDefaultOnSlotEleven();
    void badDefaultsWriteNothing_data();
    void badDefaultsWriteNothing();
    void offlineMouseKeepsItsImage();
    void macroRecordLandsAtItsKey();

private:
    bool restore(const QStringList& keyParam, int slot);
    QByteArray stored() const { return SimScript::lastWrittenImage(m_mouse); }

    std::unique_ptr<TestEnv> m_env;
    int m_mouse = -1;
};

void RecordWritesTest::init()
{
    m_env = std::make_unique<TestEnv>();
    ResetCurrentDevice();
    ButtonPageBusy = 0;
    const SimScript::Device device = SimScript::addReceiverMouse(1);
    m_mouse = device.mouse;
    SetCurrentDevicePath(device.path);
    SimScript::openQuietLink(device.path);
    SetWorkingImage(FlashDataMap{});
    SetWorkingImageLoaded(true);
}

void RecordWritesTest::cleanup()
{
    UsbServer_Exit();
    ClearWorkingImage();
    ResetCurrentDevice();
    m_env.reset();
}

// The button page's restore of a factory default, without the page.
bool RecordWritesTest::restore(const QStringList& keyParam, int slot)
{
    const auto parsed = ParseKeyParamDefault(keyParam);
    if (!parsed)
        return false;
    return parsed->media ? RestoreMediaBinding(slot, parsed->usage & 0xFF) : RestoreComboBinding(slot, parsed->comboText);
}

void RecordWritesTest::mediaDefaultOnSlotSix()
{
    QVERIFY(restore({"0x05", "1", "cd"}, 6));
    const QByteArray image = stored();
    QCOMPARE(image.size(), 10428);
    QCOMPARE(image.mid(101, 3), hex("05 00 00"));
    QCOMPARE(image.mid(592, 52), hex("02 00 00 00 | 00 02 CD 00 0A 00 00 00 | 01 02 CD 00 0A 00 00 00") + QByteArray(32, 0));
    QByteArray rest = image;
    rest.replace(592, 52, QByteArray(52, 0)).replace(101, 3, QByteArray(3, 0));
    QCOMPARE(rest, QByteArray(10428, 0));
}

void RecordWritesTest::comboDefaultOnSlotEleven()
{
    QVERIFY(restore({"0x05", "0", "0", "Ctrl+Alt+Del"}, 11));
    const QByteArray image = stored();
    QCOMPARE(image.mid(107, 3), hex("05 00 00"));
    QCOMPARE(image.mid(696, 52), hex("06 00 00 00 | 00 00 01 00 0A 00 00 00 | 00 00 04 00 0A 00 00 00 |"
                                     "00 01 4C 00 0A 00 00 00 | 01 01 4C 00 0A 00 00 00 |"
                                     "01 00 04 00 0A 00 00 00 | 01 00 01 00 0A 00 00 00"));
}

void RecordWritesTest::badDefaultsWriteNothing_data()
{
    QTest::addColumn<QStringList>("keyParam");
    QTest::addColumn<int>("slot");
    QTest::newRow("slot 7") << QStringList{"0x05", "1", "cd"} << 7;
    QTest::newRow("combination on slot 12") << QStringList{"0x05", "0", "0", "Ctrl+C"} << 12;
    QTest::newRow("zz") << QStringList{"0x05", "1", "zz"} << 6;
    QTest::newRow("99") << QStringList{"0x05", "1", "99"} << 6;
    QTest::newRow("type 1") << QStringList{"0x01", "1", "cd"} << 6;
}

void RecordWritesTest::badDefaultsWriteNothing()
{
    QFETCH(QStringList, keyParam);
    QFETCH(int, slot);
    const int writes = HidSim_WriteCount(m_mouse);
    QVERIFY(!restore(keyParam, slot));
    QCOMPARE(HidSim_WriteCount(m_mouse), writes);
}

void RecordWritesTest::offlineMouseKeepsItsImage()
{
    ButtonPageBusy = 1;  // no offline notice from the setter
    QCOMPARE(HidSim_SetAwake(m_mouse, 0), 0);
    const int writes = HidSim_WriteCount(m_mouse);
    QVERIFY(!RestoreMediaBinding(6, 0xCD));
    QVERIFY(!RestoreComboBinding(11, "Ctrl+C"));
    QCOMPARE(HidSim_WriteCount(m_mouse), writes);
    const FlashDataMap image = WorkingImageCopy();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&image), int(sizeof image)), QByteArray(10428, 0));
    ButtonPageBusy = 0;
}

void RecordWritesTest::macroRecordLandsAtItsKey()
{
    MouseButtonNames[0] = "Left";
    const MacroRecord record = MacroRecordFromRows("Fire", {{"A", false}, {"20ms", false}, {"A", true}, {"5ms", false},
                                                            {"Left", false}});
    const ButtonBinding binding{6, 11, 255};
    QVERIFY(SetButtonMacro(11, &binding, &record));
    const QByteArray image = stored();
    QCOMPARE(image.mid(107, 3), hex("06 0B FF"));
    QCOMPARE(7468, 956 + 592 * 11);
    QCOMPARE(image.mid(7468, 56), hex("04 46697265") + QByteArray(26, 0) + hex("03 | 00 01 04 00 14 00 00 00 |"
                                                                           "01 01 04 00 05 00 00 00 | 00 04 01 00 00 00 00 00"));
    QCOMPARE(image.mid(7468 + 56, 592 - 56), QByteArray(592 - 56, 0));
    MouseButtonNames[0].clear();
}

QTEST_GUILESS_MAIN(RecordWritesTest)
#include "tst_record_writes.moc"
