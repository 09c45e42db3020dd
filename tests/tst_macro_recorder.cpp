// The macro recorder on its own: rows from key events as the keyboard hook reports them.
#include "device/SharedFlags.h"
#include "pages/macro/KeyClock.h"
#include "pages/macro/KeyHook.h"
#include "pages/macro/MacroRecorder.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

struct Recording {
    QStringList rows;
    qint64 fixedDelay = -1;  // -1: measured
    MacroRecorder recorder{MacroRecorder::Rows{
        [this](qint64 ms) { rows << QString::number(ms) + "ms"; },
        [this](const QString& name, bool down) { rows << (down ? "+" : "-") + name; },
        [this](qint64 measured) { return fixedDelay < 0 ? measured : fixedDelay; }}};
};

}  // namespace

class MacroRecorderTest : public QObject {
    Q_OBJECT

private:
    qint64 m_now = 0;
    KeyHook m_hook;

    // One key message at `at` ms after the previous one, as the hook hands it on.
    void key(int code, bool down, qint64 after = 0)
    {
        m_now += after;
        m_hook.hookProc(down ? KeyDownMessage : KeyUpMessage, code);
    }

private slots:
    void initTestCase() { setKeyClock([this] { return m_now; }); }
    void cleanupTestCase() { setKeyClock({}); }

    void delaysBetweenKeys()
    {
        Recording r;
        r.recorder.start();
        QVERIFY(MacroRecording);
        QVERIFY(m_hook.installed());
        key('A', true, 500);
        key('A', false, 50);
        key('B', true, 70);
        key('B', false, 50);
        QCOMPARE(r.rows, (QStringList{"+A", "50ms", "-A", "70ms", "+B", "50ms", "-B"}));
        r.recorder.stop();
        QVERIFY(!MacroRecording);
        QVERIFY(!m_hook.installed());
        key('C', true);
        QCOMPARE(r.rows.size(), 7);
    }

    void heldKeysCountOnce()
    {
        Recording r;
        r.fixedDelay = 10;
        r.recorder.start();
        key('A', true);
        key('A', true, 30);
        key('A', true, 30);
        key('A', false, 30);
        // Overlapping A and B, then B again: both B presses are recorded.
        key('A', true);
        key('B', true);
        key('A', false);
        key('B', false);
        key('B', true);
        key('B', false);
        QCOMPARE(r.rows, (QStringList{"+A", "10ms", "-A", "10ms", "+A", "10ms", "+B", "10ms", "-A", "10ms", "-B",
                                      "10ms", "+B", "10ms", "-B"}));
        r.recorder.stop();
    }

    void keysWithoutNames()
    {
        Recording r;
        r.recorder.start();
        key('A', true);
        key(124, true, 40);  // F13
        key('B', true, 60);
        key(12, true, 10);  // keypad 5 without NumLock: an empty name
        key(255, false, 10);
        // The time up to a key without a name stays as the delay before the next named key.
        QCOMPARE(r.rows, (QStringList{"+A", "40ms", "+B", "10ms"}));
        r.recorder.stop();
    }

    void seventiethKeyEndsTheRecording()
    {
        Recording r;
        QSignalSpy limit(&r.recorder, &MacroRecorder::limitReached);
        r.recorder.start();
        for (int i = 0; i < 35; ++i) {
            key('A', true, 1);
            key('A', false, 1);
        }
        QCOMPARE(r.rows.count("+A") + r.rows.count("-A"), 70);
        QVERIFY(!MacroRecording);
        QVERIFY(!m_hook.installed());
        QCOMPARE(r.recorder.RecordedCount(), 0);
        QCOMPARE(limit.count(), 0);  // not inside the key event
        QTRY_COMPARE(limit.count(), 1);
        const int rows = r.rows.size();
        key('B', true);
        QCOMPARE(r.rows.size(), rows);
        r.recorder.stop();  // harmless after the limit
    }
};

QTEST_MAIN(MacroRecorderTest)
#include "tst_macro_recorder.moc"
