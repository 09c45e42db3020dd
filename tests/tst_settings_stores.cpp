// The catalogue store, the user settings store and the registry layer.
#include "support/CatalogueText.h"
#include "support/TestEnv.h"

#include "common/MacroSetting.h"
#include "common/Registry.h"
#include "common/UserConfig.h"

#include <QFile>
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

using testcatalogue::encoded;

const QStringList EncodedKeys = {"MM",  "DM",      "D2M",          "D4M",           "Sensor",        "CID",
                                 "VID", "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID"};

}  // namespace

class SettingsStoresTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void encodedKeysAreDecodedInEveryGroup_data();
    void encodedKeysAreDecodedInEveryGroup();
    void otherKeysAreReadAsStored();
    void listsAreDecodedElementByElement();
    void blanksAndLineFeedsGoAfterDecoding();
    void missingKeysReadEmpty();
    void commaValuesAreListsOnly();
    void decodeBase64TextKeepsEverything();
    void readsFromSeveralThreadsAgree();
    void userSettingsReachTheDiskAtOnce();
    void registryValueIsReadBack();

private:
    std::unique_ptr<TestEnv> m_env;
};

void SettingsStoresTest::init()
{
    m_env = std::make_unique<TestEnv>();
    QByteArray ini = "[Option]\n"
                     "USB_PID=" + encoded({"0xF511", "0xF512"}) + "\n"
                     "Wireless8_PID=" + encoded({"0xF518"}) + "\n"
                     "LabelColor=222, 226, 232\n"
                     "Plain=" + encoded({"hello"}) + "\n"
                     "Single=one\n"
                     "[Drive1]\n"
                     "MID=" + encoded({"31"}) + "\n"
                     "MM=" + encoded({"Kavro M 1\n"}) + "\n"
                     "Name=Kavro M1\n";
    for (const QString& group : {QStringLiteral("Drive2"), QStringLiteral("Option2")}) {
        ini += "[" + group.toUtf8() + "]\n";
        for (const QString& key : EncodedKeys)
            ini += key.toUtf8() + "=" + encoded({group + "-" + key}) + "\n";
    }
    testcatalogue::write(*m_env, ini);
    MacroSetting::reload();
    Registry::setBaseFolder(m_env->home() + QStringLiteral("/.config"));
}

void SettingsStoresTest::cleanup()
{
    Registry::setBaseFolder(QString());
    m_env.reset();
}

void SettingsStoresTest::encodedKeysAreDecodedInEveryGroup_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    for (const QString& group : {QStringLiteral("Drive2"), QStringLiteral("Option2")}) {
        for (const QString& key : EncodedKeys)
            QTest::newRow(qPrintable(group + "/" + key)) << group << key;
    }
}

void SettingsStoresTest::encodedKeysAreDecodedInEveryGroup()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QCOMPARE(UserConfig::instance()->value(group, key), group + "-" + key);
    QCOMPARE(UserConfig::instance()->valueList(group, key), QStringList{group + "-" + key});
}

void SettingsStoresTest::otherKeysAreReadAsStored()
{
    UserConfig* config = UserConfig::instance();
    QCOMPARE(config->value("Option", "Wireless8_PID"), QString::fromLatin1(encoded({"0xF518"})));
    QCOMPARE(config->value("Drive1", "MID"), QString::fromLatin1(encoded({"31"})));
    QCOMPARE(config->value("Option", "Plain"), QString::fromLatin1(encoded({"hello"})));
    QCOMPARE(config->value("Drive1", "Name"), QStringLiteral("Kavro M1"));
    QCOMPARE(config->valueList("Option", "LabelColor"), (QStringList{"222", "226", "232"}));
    // Key names match exactly.
    QVERIFY(!UserConfig::isEncodedKey("mm"));
    QVERIFY(!UserConfig::isEncodedKey("MID"));
    QVERIFY(UserConfig::isEncodedKey("Wireless4_PID"));
}

void SettingsStoresTest::listsAreDecodedElementByElement()
{
    QCOMPARE(UserConfig::instance()->valueList("Option", "USB_PID"), (QStringList{"0xF511", "0xF512"}));
}

void SettingsStoresTest::blanksAndLineFeedsGoAfterDecoding()
{
    QCOMPARE(UserConfig::instance()->value("Drive1", "MM"), QStringLiteral("KavroM1"));
    QCOMPARE(UserConfig::instance()->valueList("Drive1", "MM"), QStringList{"KavroM1"});
}

void SettingsStoresTest::missingKeysReadEmpty()
{
    UserConfig* config = UserConfig::instance();
    QCOMPARE(config->value("Option", "Nothing"), QString());
    QCOMPARE(config->value("Option", "Nothing").toInt(), 0);
    QCOMPARE(config->valueList("Option", "Nothing"), QStringList());
    QCOMPARE(config->value("Drive9", "MM"), QString());
    QCOMPARE(config->valueList("Drive9", "VID"), QStringList());
    QCOMPARE(MacroSetting::instance()->value("Language", "Language"), QString());

    // No catalogue at all reads the same.
    QFile::remove(m_env->programDir() + "/usersetting/Config.ini");
    UserConfig::reload();
    QCOMPARE(config->value("Option", "DeviceTotal"), QString());
    QCOMPARE(config->valueList("Option", "USB_PID"), QStringList());
}

void SettingsStoresTest::commaValuesAreListsOnly()
{
    UserConfig* config = UserConfig::instance();
    QCOMPARE(config->value("Option", "LabelColor"), QString());
    QCOMPARE(config->value("Option", "USB_PID"), QString());
    QCOMPARE(config->value("Option", "Single"), QStringLiteral("one"));
    QCOMPARE(config->valueList("Option", "Single"), QStringList{"one"});
}

void SettingsStoresTest::decodeBase64TextKeepsEverything()
{
    QCOMPARE(DecodeBase64Text(QString::fromLatin1(encoded({"v1.2 beta\n"}))), QStringLiteral("v1.2 beta\n"));
    QCOMPARE(DecodeBase64Text(QString()), QString());
}

void SettingsStoresTest::readsFromSeveralThreadsAgree()
{
    std::atomic<int> wrong{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(QThread::create([&wrong] {
            for (int i = 0; i < 300; ++i) {
                if (UserConfig::instance()->valueList("Option", "USB_PID") != QStringList{"0xF511", "0xF512"})
                    ++wrong;
                if (UserConfig::instance()->value("Drive2", "Sensor") != QLatin1String("Drive2-Sensor"))
                    ++wrong;
            }
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        QVERIFY(thread->wait(20000));
    QCOMPARE(wrong.load(), 0);
}

void SettingsStoresTest::userSettingsReachTheDiskAtOnce()
{
    MacroSetting* settings = MacroSetting::instance();
    settings->setValue("Language", "Language", "3");
    QCOMPARE(settings->value("Language", "Language"), QStringLiteral("3"));

    // Another reader of the file sees it at once, without any event loop turn.
    QSettings file(m_env->userDir() + "/Macro.ini", QSettings::IniFormat);
    QCOMPARE(file.value("Language/Language").toString(), QStringLiteral("3"));

    settings->setValue("Setting", "AutoStart", QString::fromUtf8("ja – ü"));
    MacroSetting::reload();
    QCOMPARE(settings->value("Setting", "AutoStart"), QString::fromUtf8("ja – ü"));
}

void SettingsStoresTest::registryValueIsReadBack()
{
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test");
    Registry::setValue(key, "MouseVer1031", "v1.a");
    QCOMPARE(Registry::value(key, "MouseVer1031").toString(), QStringLiteral("v1.a"));
    QVERIFY(Registry::contains(key, "MouseVer1031"));

    const QString file = Registry::settingsFile(key);
    QCOMPARE(file, m_env->home() + "/.config/Trelm/Trelm.conf");
    QVERIFY(QFile::exists(file));
    QSettings native(file, QSettings::NativeFormat);
    QCOMPARE(native.value("Mouse Drive Test/MouseVer1031").toString(), QStringLiteral("v1.a"));

    // Values of other keys and applications stay apart.
    const QString other = QStringLiteral("HKEY_CURRENT_USER\\Software\\TrelmC\\Kavro Mouse Software\\Kavro Mouse Software");
    QVERIFY(!Registry::contains(other, "MouseVer1031"));
    Registry::setValue(other, "LanguageIndex", 3);
    QCOMPARE(Registry::value(other, "LanguageIndex").toInt(), 3);
    Registry::remove(other, "LanguageIndex");
    QVERIFY(!Registry::contains(other, "LanguageIndex"));
    QCOMPARE(Registry::value(other, "LanguageIndex", 0).toInt(), 0);

    // A path outside the user's software key maps to nothing.
    QCOMPARE(Registry::settingsFile("HKEY_LOCAL_MACHINE\\Software\\Trelm\\Trelm"), QString());
    QCOMPARE(Registry::value("HKEY_LOCAL_MACHINE\\Software\\Trelm\\Trelm", "x", 7).toInt(), 7);
}

QTEST_GUILESS_MAIN(SettingsStoresTest)
#include "tst_settings_stores.moc"
