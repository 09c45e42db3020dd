#pragma once
#include <QObject>

class QSocketNotifier;
class QWidget;

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) as a request to quit. The
// handler only writes a byte into a pipe; the notifier reads it on the GUI thread, which then
// emits quitRequested, so the quit runs there as any other. After the first such signal the
// handlers are back to the default: a second one ends a program that hangs in its quit.
// One instance at a time; its destruction puts the default handling back. Without a pipe
// nothing is installed, and the signals end the program as before.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // A quit request closes `window`, as its close button would, and ends the event loops.
    void closeOnRequest(QWidget* window);

signals:
    void quitRequested();

private:
    void drain();

    int m_readEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
};
