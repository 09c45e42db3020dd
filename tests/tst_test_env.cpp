// The test harness's per-test world: nothing a test stores may reach the real user's folders.
#include "support/TestEnv.h"

#include "common/Registry.h"

#include <QtTest>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

class TestTestEnv : public QObject {
    Q_OBJECT
private slots:
    void registryValuesStayInTheTemporaryHome_data();
    void registryValuesStayInTheTemporaryHome();
};

void TestTestEnv::registryValuesStayInTheTemporaryHome_data()
{
    QTest::addColumn<bool>("configHomeSet");
    QTest::newRow("configuration folder from the home folder") << false;
    QTest::newRow("configuration folder set elsewhere") << true;
}

void TestTestEnv::registryValuesStayInTheTemporaryHome()
{
    QFETCH(bool, configHomeSet);
    // Stands in for the user's own configuration folder.
    QTemporaryDir userConfig;
    const QByteArray before = configHomeSet ? userConfig.path().toLocal8Bit() : QByteArray();
    if (configHomeSet)
        qputenv("XDG_CONFIG_HOME", before);
    else
        qunsetenv("XDG_CONFIG_HOME");

    const QString path = QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelm\\Trelm\\Mouse Drive Test");
    {
        TestEnv env;
        Registry::setValue(path, QStringLiteral("MouseVer1020"), QStringLiteral("v1.3"));
        const QString file = Registry::settingsFile(path);
        QVERIFY2(file.startsWith(env.home() + QLatin1Char('/')), qPrintable(file));
        QVERIFY(QFileInfo::exists(file));
    }
    QVERIFY(QDir(userConfig.path()).isEmpty());
    QCOMPARE(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"), configHomeSet);
    QCOMPARE(qgetenv("XDG_CONFIG_HOME"), before);
    qunsetenv("XDG_CONFIG_HOME");
}

QTEST_MAIN(TestTestEnv)
#include "tst_test_env.moc"
