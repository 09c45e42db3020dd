#pragma once
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyHook.h"

// Records key presses and releases as macro rows while the program's window is in front: each
// named key event becomes a key row, after a delay row with the time since the previous event
// (none before the first). A key held down counts once; its release always counts. The 70th
// named key ends the recording and asks for the limit notice, after the key was handed on.
class MacroRecorder : public QObject {
    Q_OBJECT
public:
    struct Rows {
        std::function<void(qint64 milliseconds)> addDelay;
        std::function<void(const QString& name, bool down)> addKey;
        // The delay row's value for a measured time (the measured time, or the page's fixed delay).
        std::function<qint64(qint64 measured)> delayFor;
    };
    static constexpr int MaxKeys = 70;

    explicit MacroRecorder(Rows rows, QObject* parent = nullptr);
    ~MacroRecorder() override;

    // Starts a recording: count 0, hook installed, MacroRecording set, the next key without delay.
    void start();
    // Ends it (harmless when none runs): hook removed, MacroRecording cleared.
    void stop();

    // Key events recorded so far in this recording.
    int RecordedCount() const { return m_recordedCount; }

public slots:
    // The hook's callback.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);

signals:
    // The 70th key was recorded; delivered after the key event, never inside it.
    void limitReached();

private:
    Rows m_rows;
    KeyHook m_hook;
    QSet<int> m_held;  // keys pressed and not yet released
    KeyTimer DelayTimer;
    bool FirstEvent = true;
    int m_recordedCount = 0;
};
