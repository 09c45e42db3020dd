// Child process of the start-up tests.
//   kavro_testchild start   the program's start with a plain top window; prints "TOPWINDOW" when it
//                           is built, "NOTICE <class>" (then closes it) when a modal notice shows,
//                           "CLOSED" when the top window is closed and "ENDED <status>" at the end;
//                           "start other-window" also shows a second window beside it
//   kavro_testchild segv | abort | throw | thread-segv   installs the crash handler and crashes
//   kavro_testchild start-segv   the program's start, whose top window crashes while it is built
//   kavro_testchild two-reports   installs the crash handler and writes two reports at once
//   kavro_testchild sim-devices   prints what the simulated devices of its environment keep
//                                 (see SimDevicesDump.h)
//   kavro_testchild tile-quit <program folder> during-click | after-click
//                           the program itself on the simulated devices of its environment:
//                           clicks the first tile as a user would and raises SIGTERM while the
//                           click is handled or right after it; prints "CLICKED", "SHOWN <class>"
//                           for every dialog shown, "CLOSING" when the top window closes and
//                           "ENDED <status>"
//   kavro_testchild sim-burst N   sets 64 bytes of mouse N's first profile (from 200 on) to 0x5A and
//                                 at once to 0xA5, then ends: the library's unload writes what is due
#include "SimDevicesDump.h"
#include "app/CrashHandler.h"
#include "app/Startup.h"
#include "common/AppPaths.h"
#include "shell/DialogMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QWidget>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {
bool startMode = false;

void say(const char* text, const char* detail = "")
{
    std::printf("%s%s\n", text, detail);
    std::fflush(stdout);
}

void closeModalNotices()
{
    if (!startMode)
        return;
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            say("NOTICE ", modal->metaObject()->className());
            modal->close();
        }
    });
    poll->start(100);
}
Q_COREAPP_STARTUP_FUNCTION(closeModalNotices)

class ReportingWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override
    {
        say("CLOSED");
        QWidget::closeEvent(event);
    }
};

// Tells the dialogs that show and the top window's close, as they happen.
class DialogReporter : public QObject {
public:
    explicit DialogReporter(QWidget* top)
        : m_top(top)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && dialog != m_top && dialog->isWindow())
                say("SHOWN ", dialog->metaObject()->className());
        } else if (event->type() == QEvent::Close && watched == m_top) {
            say("CLOSING");
        }
        return false;
    }

private:
    QWidget* m_top;
};

// Clicks the first tile once it shows, with a press and a release at its place in the window,
// and asks for the quit as a logout does: while the click is handled (the signal comes between
// press and release) or just after it.
void clickFirstTileThenQuit(QWidget* top, bool duringClick)
{
    auto* poll = new QTimer(top);
    QObject::connect(poll, &QTimer::timeout, top, [top, poll, duringClick] {
        auto* tile = top->findChild<QToolButton*>(QStringLiteral("btn0"));
        QWindow* window = top->windowHandle();
        if (!tile || !tile->isVisible() || !window || !window->isExposed())
            return;
        poll->stop();
        const QPoint at = tile->mapTo(top, tile->rect().center());
        QTest::mousePress(window, Qt::LeftButton, {}, at);
        if (duringClick)
            ::raise(SIGTERM);
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        say("CLICKED");
        if (!duringClick)
            ::raise(SIGTERM);
    });
    poll->start(50);
}

[[noreturn]] void segmentationFault()
{
    volatile int* wild = reinterpret_cast<volatile int*>(std::uintptr_t(16));
    *wild = 1;
    std::abort();
}
}  // namespace

int main(int argc, char* argv[])
{
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "start") == 0) {
        startMode = true;
        const bool otherWindow = argc > 2 && std::strcmp(argv[2], "other-window") == 0;
        const int status = runProgram(argc, argv, [otherWindow] {
            say("TOPWINDOW");
            auto* top = new ReportingWindow;
            if (otherWindow) {
                auto* other = new QWidget(nullptr, Qt::Window);
                QObject::connect(top, &QObject::destroyed, other, &QObject::deleteLater);
                other->show();
            }
            return top;
        });
        say("ENDED ", std::to_string(status).c_str());
        return status;
    }
    if (std::strcmp(mode, "tile-quit") == 0 && argc > 3) {
        AppPaths::setProgramDir(QString::fromLocal8Bit(argv[2]));
        const bool duringClick = std::strcmp(argv[3], "during-click") == 0;
        const int status = runProgram(argc, argv, [duringClick] {
            auto* top = new DialogMain;
            new DialogReporter(top);
            clickFirstTileThenQuit(top, duringClick);
            return top;
        });
        say("ENDED ", std::to_string(status).c_str());
        return status;
    }
    if (std::strcmp(mode, "sim-devices") == 0) {
        std::fputs(simDevicesDump().c_str(), stdout);
        return 0;
    }
    if (std::strcmp(mode, "sim-burst") == 0 && argc > 2) {
        std::vector<uint8_t> image(HIDUSB_IMAGE_SIZE);
        const int mouse = std::atoi(argv[2]);
        if (HidSim_GetImage(mouse, 0, image.data()) != 0)
            return 1;
        for (const uint8_t value : {0x5A, 0xA5}) {
            std::fill(image.begin() + 200, image.begin() + 264, value);
            if (HidSim_SetImage(mouse, 0, image.data()) != 0)
                return 1;
        }
        return 0;
    }
    if (std::strcmp(mode, "start-segv") == 0)
        return runProgram(argc, argv, []() -> QWidget* { segmentationFault(); });
    CrashHandler handler;
    handler.install();
    if (std::strcmp(mode, "segv") == 0)
        segmentationFault();
    if (std::strcmp(mode, "abort") == 0)
        std::abort();
    if (std::strcmp(mode, "throw") == 0)
        throw std::runtime_error("boom from the test");
    if (std::strcmp(mode, "two-reports") == 0) {
        CrashDumpFilter(SIGABRT, "first");
        CrashDumpFilter(SIGABRT, "second");
        return 0;
    }
    if (std::strcmp(mode, "thread-segv") == 0) {
        std::thread worker(segmentationFault);
        worker.join();
    }
    return 3;
}
