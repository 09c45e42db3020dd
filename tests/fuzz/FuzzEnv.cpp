#include "FuzzEnv.h"

#include "common/AppPaths.h"
#include "common/MacroSetting.h"
#include "common/Registry.h"
#include "common/UserConfig.h"

#include "HIDUsbControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>

namespace fuzzenv {

namespace {

QTemporaryDir* home = nullptr;
QTemporaryDir* program = nullptr;
quint64 folderCount = 0;

// The library may still deliver answers while the process ends, so neither is ever destroyed.
QBasicMutex answerLock;
QByteArray* const fullAnswer = new QByteArray;

void keepFirstFullAnswer(uint8_t* header, int headerLength, uint8_t* data, uint32_t dataLength)
{
    if (headerLength > 4 && header[1] == 8 && header[3] == 0 && header[4] == 0
        && dataLength == HIDUSB_FULL_ANSWER_SIZE) {
        QMutexLocker lock(&answerLock);
        if (fullAnswer->isEmpty())
            *fullAnswer = QByteArray(reinterpret_cast<const char*>(data), int(dataLength));
    }
}

}  // namespace

void setUp(int* argc, char*** argv)
{
    if (home)
        return;
    // The library reads these on its first call: no demo devices, no control socket.
    qputenv("KAVRO_SIM_EMPTY", "1");
    qputenv("KAVRO_SIM_CONTROL", "0");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance())  // a tool may bring a GUI application of its own
        new QCoreApplication(*argc, *argv);

    home = new QTemporaryDir;
    program = new QTemporaryDir;
    std::atexit([] {
        delete home;
        delete program;
    });
    qputenv("HOME", home->path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home->path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home->path() + QStringLiteral("/.local/share")).toLocal8Bit());
    AppPaths::setProgramDir(program->path());
    Registry::setBaseFolder(home->path() + QStringLiteral("/registry"));
    QDir().mkpath(AppPaths::userDataDir());
    MacroSetting::reload();
    UserConfig::reload();
}

QString homeDir()
{
    return home ? home->path() : QString();
}

QString programDir()
{
    return program ? program->path() : QString();
}

bool writeFile(const QString& path, const uint8_t* data, size_t size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return size == 0 || file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    return writeFile(path, reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

QString freshFolder(const QString& name)
{
    // A name never used before: the settings layer keeps files it read by name.
    const QString base = homeDir() + QStringLiteral("/fresh/") + name;
    if (folderCount > 0)
        QDir(base + QString::number(folderCount - 1)).removeRecursively();
    const QString path = base + QString::number(folderCount++);
    QDir().mkpath(path);
    return path;
}

QByteArray addReceiverMouse(int* mouseId)
{
    HidSim_SetZeroDelays(1);
    HidSimMouseSetup mouse{0x0A, 0x01, {0x4B, 0x10, 0x01}, 0x0103, 80, 0, 1};
    *mouseId = HidSim_AddMouse(&mouse);
    HidSimInterfaceSetup receiver{"0x3554", "0xF503", 1, 0x0201, *mouseId, 1, 0};
    const int receiverId = HidSim_AddInterface(&receiver);
    char path[256] = {};
    if (*mouseId < 0 || receiverId < 0 || HidSim_InterfacePath(receiverId, path, int(sizeof path)) != 0) {
        std::fprintf(stderr, "the simulated mouse cannot be added\n");
        std::abort();
    }
    return QByteArray(path);
}

QByteArray firstFullAnswer(const QByteArray& path)
{
    UsbServerC_Start(path.constData(), path.constData(), keepFirstFullAnswer);
    // No answer may still be on its way while the process ends.
    std::atexit([] { UsbServer_Exit(); });
    UsbServer_ReadAllFlashData();
    HidSim_DeliverPending(5000);
    QMutexLocker lock(&answerLock);
    if (fullAnswer->size() != HIDUSB_FULL_ANSWER_SIZE) {
        std::fprintf(stderr, "the simulated mouse sent no whole configuration\n");
        std::abort();
    }
    return *fullAnswer;
}

}  // namespace fuzzenv
