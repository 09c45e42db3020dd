#include "support/TestEnv.h"

#include "common/ProgramWaits.h"

#include "common/AppPaths.h"
#include "device/DeviceCache.h"
#include "device/UnsentMacros.h"
#include "HIDUsbControl.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

TestEnv::TestEnv()
    : m_oldHome(qgetenv("HOME"))
    , m_oldConfigHome(qgetenv("XDG_CONFIG_HOME"))
    , m_hadConfigHome(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    , m_oldDataHome(qgetenv("XDG_DATA_HOME"))
    , m_hadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
    , m_oldStateHome(qgetenv("XDG_STATE_HOME"))
    , m_hadStateHome(qEnvironmentVariableIsSet("XDG_STATE_HOME"))
{
    qputenv("HOME", m_home.path().toLocal8Bit());
    // The registry values live in the configuration folder, which XDG_CONFIG_HOME moves
    // away from the home folder: keep it inside the temporary home as well.
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    // So does XDG_DATA_HOME with the per-user data folder.
    qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    // And the state folder, where simulated devices given a memory keep it.
    qputenv("XDG_STATE_HOME", (m_home.path() + QStringLiteral("/.local/state")).toLocal8Bit());
    AppPaths::setProgramDir(m_program.path());
    // No hot-plug call or data answer of an earlier test may reach this one.
    StopUsbChanged();
    HidSim_Reset();
    HidSim_SetZeroDelays(1);
    // Macro saves an earlier test left unsent stay in its own home: the queue is read again
    // from this one's.
    UnsentMacros::unload();
}

TestEnv::~TestEnv()
{
    StopUsbChanged();
    // The cache writes still owed land in this world, not in a folder gone or another test's.
    FlushDeviceCache();
    HidSim_Reset();
    AppPaths::setProgramDir(QString());
    qputenv("HOME", m_oldHome);
    if (m_hadConfigHome)
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    else
        qunsetenv("XDG_CONFIG_HOME");
    if (m_hadDataHome)
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
    if (m_hadStateHome)
        qputenv("XDG_STATE_HOME", m_oldStateHome);
    else
        qunsetenv("XDG_STATE_HOME");
}

QString TestEnv::userDir() const
{
    return AppPaths::userDataDir();
}

void TestEnv::writeProgramFile(const QString& relativePath, const QByteArray& content) const
{
    const QString path = m_program.path() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(content);
    file.flush();
    // Qt's settings files are cached and read again only when their size or modification
    // time changed; two rewrites of the same size inside one tick of the file system's clock
    // would leave the first one in use. Every rewrite gets a later time than the one before.
    static QDateTime lastStamp;
    QDateTime stamp = QDateTime::currentDateTime();
    if (lastStamp.isValid() && stamp < lastStamp.addSecs(1))
        stamp = lastStamp.addSecs(1);
    lastStamp = stamp;
    file.setFileTime(stamp, QFileDevice::FileModificationTime);
}

void TestEnv::stageShippedData() const
{
    stageShippedData({QStringLiteral("usersetting"), QStringLiteral("Language"), QStringLiteral("Picture"),
                      QStringLiteral("driver_sensor.h")});
}

void TestEnv::stageShippedData(const QStringList& items) const
{
    const QString source = QStringLiteral(KAVRO_OUTPUT_DIR);
    for (const QString& item : items) {
        const QString from = source + QLatin1Char('/') + item;
        if (QFileInfo(from).isFile()) {
            QFile::copy(from, m_program.path() + QLatin1Char('/') + item);
            continue;
        }
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = m_program.path() + QLatin1Char('/') + item + file.mid(from.size());
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(file, target);
        }
    }
}

namespace {
// The suite runs the program's fixed waits scaled down (KAVRO_TEST_WAIT_SCALE, set by the test
// runner), read once as the test program starts; a test that needs the real durations sets
// the scale back to 1 itself.
const bool waitScaleRead = [] {
    bool ok = false;
    const double scale = qEnvironmentVariable("KAVRO_TEST_WAIT_SCALE").toDouble(&ok);
    if (ok && scale > 0)
        ProgramWaits::setWaitScale(scale);
    return true;
}();
}  // namespace
