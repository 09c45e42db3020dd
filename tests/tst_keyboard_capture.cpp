// Keyboard capture: the three hooks' state machine, the application-wide key filter that feeds
// them, and the virtual-key codes of key events.
#include "pages/macro/KeyHook.h"
#include "pages/macro/VirtualKeyCodes.h"
#include "support/KeySender.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <tuple>

namespace {

using Event = std::tuple<int, bool, bool>;

// Collects what a hook reports.
struct Reports {
    QVector<Event> events;
    KeyHookCallbackFn callback()
    {
        return [this](int code, bool down, bool repeat) { events.append(Event{code, down, repeat}); };
    }
};

// Brings a hook back to its state at program start (the state outlives installations).
void reset(KeyHookBase& hook)
{
    hook.uninstall();
    hook.setCallback({});
    hook.hookProc(KeyUpMessage, 0);
}

}  // namespace

class KeyboardCaptureTest : public QObject {
    Q_OBJECT

private:
    KeyHook m_recorder;
    KeyHookB m_single;
    KeyHookC m_combination;

    QWidget* makeWindow(QLineEdit** edit)
    {
        auto* window = new QWidget;
        auto* layout = new QVBoxLayout(window);
        *edit = new QLineEdit(window);
        layout->addWidget(*edit);
        window->show();
        window->activateWindow();
        (*edit)->setFocus();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("window not active");
        return window;
    }

private slots:
    void init()
    {
        reset(m_recorder);
        reset(m_single);
        reset(m_combination);
        setKeyHookForegroundTest({});
    }

    void heldKeyRepeatsUntilReleased()
    {
        Reports reports;
        m_single.setCallback(reports.callback());
        m_single.hookProc(KeyDownMessage, 65);
        m_single.hookProc(KeyDownMessage, 65);
        m_single.hookProc(KeyDownMessage, 65);
        m_single.hookProc(KeyUpMessage, 65);
        QCOMPARE(reports.events, (QVector<Event>{{65, true, false}, {65, true, true}, {65, true, true}, {65, false, false}}));
        QCOMPARE(m_single.LastKeyCode(), 0u);
    }

    void overlappingKeys()
    {
        Reports reports;
        m_combination.setCallback(reports.callback());
        m_combination.hookProc(KeyDownMessage, 65);
        m_combination.hookProc(KeyDownMessage, 66);
        m_combination.hookProc(KeyUpMessage, 65);
        QCOMPARE(m_combination.LastKeyCode(), 0u);
        m_combination.hookProc(KeyUpMessage, 66);
        QCOMPARE(reports.events, (QVector<Event>{{65, true, false}, {66, true, false}, {65, false, false}, {66, false, false}}));
    }

    // Alt keys arrive as system messages: the recorder's hook tracks them, the dialogs' do not.
    void systemMessages()
    {
        Reports recorder;
        m_recorder.setCallback(recorder.callback());
        m_recorder.hookProc(SysKeyDownMessage, 164);
        m_recorder.hookProc(SysKeyUpMessage, 164);
        // The system release keeps the last code: the next press of the key reads as a repeat.
        QCOMPARE(m_recorder.LastKeyCode(), 164u);
        m_recorder.hookProc(SysKeyDownMessage, 164);
        QCOMPARE(recorder.events, (QVector<Event>{{164, true, false}, {164, false, true}, {164, true, true}}));

        Reports single;
        m_single.setCallback(single.callback());
        m_single.hookProc(KeyDownMessage, 65);
        m_single.hookProc(KeyUpMessage, 65);
        m_single.hookProc(SysKeyDownMessage, 88);
        m_single.hookProc(SysKeyUpMessage, 88);
        QCOMPARE(single.events, (QVector<Event>{{65, true, false}, {65, false, false}, {88, false, false}, {88, false, true}}));
    }

    void stateOutlivesInstallations()
    {
        Reports reports;
        m_recorder.setCallback(reports.callback());
        m_recorder.install();
        m_recorder.hookProc(KeyDownMessage, 70);
        m_recorder.uninstall();
        m_recorder.uninstall();  // twice is harmless
        QVERIFY(!m_recorder.installed());
        m_recorder.install();
        QCOMPARE(m_recorder.LastKeyCode(), 70u);
        QVERIFY(m_recorder.KeyDown());
        m_recorder.hookProc(KeyDownMessage, 70);
        QCOMPARE(reports.events.last(), (Event{70, true, true}));
        // Another instance works on the same state.
        KeyHook other;
        QVERIFY(other.installed());
        QCOMPARE(other.LastKeyCode(), 70u);
    }

    void emptyCallbackOnlyUpdatesState()
    {
        m_single.hookProc(KeyDownMessage, 90);
        QCOMPARE(m_single.LastKeyCode(), 90u);
        QVERIFY(m_single.KeyDown());
    }

    // Through a shown, active window: each key once, nothing taken from the focused widget.
    void filterReportsKeysOnceAndTakesNone()
    {
        QLineEdit* edit = nullptr;
        std::unique_ptr<QWidget> window(makeWindow(&edit));
        Reports reports;
        m_single.install();
        m_single.setCallback(reports.callback());
        keys::tap(edit, keys::letter('A'));
        QCOMPARE(reports.events, (QVector<Event>{{65, true, false}, {65, false, false}}));
        QCOMPARE(edit->text(), QStringLiteral("a"));

        m_single.uninstall();
        keys::tap(edit, keys::letter('B'));
        QCOMPARE(reports.events.size(), 2);
        QCOMPARE(edit->text(), QStringLiteral("ab"));
    }

    void latestInstalledHookFirst()
    {
        QLineEdit* edit = nullptr;
        std::unique_ptr<QWidget> window(makeWindow(&edit));
        QStringList order;
        m_recorder.install();
        m_recorder.setCallback([&](int, bool, bool) { order << "recorder"; });
        m_combination.install();
        m_combination.setCallback([&](int, bool, bool) { order << "combination"; });
        keys::press(edit, keys::letter('Q'));
        QCOMPARE(order, (QStringList{"combination", "recorder"}));

        // A hook removed by an earlier callback of the same key hears nothing of it.
        order.clear();
        m_combination.setCallback([&](int, bool, bool) {
            order << "combination";
            m_recorder.uninstall();
        });
        keys::release(edit, keys::letter('Q'));
        QCOMPARE(order, QStringList{"combination"});
    }

    void nothingWhileNoWindowHasTheFocus()
    {
        QLineEdit* edit = nullptr;
        std::unique_ptr<QWidget> window(makeWindow(&edit));
        Reports reports;
        m_single.install();
        m_single.setCallback(reports.callback());
        // Another window takes the focus and goes: no window of the program has it then.
        {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QVERIFY(!QGuiApplication::focusWindow());
        keys::tap(edit, keys::letter('A'));
        QVERIFY(reports.events.isEmpty());

        // The test is replaceable; with it saying "in front" the key arrives.
        setKeyHookForegroundTest([] { return true; });
        keys::tap(edit, keys::letter('A'));
        QCOMPARE(reports.events.size(), 2);
    }

    // X11 repeats a held key as release and press pairs marked as repeats.
    void autoRepeatArrivesAsRepeatedPresses()
    {
        QLineEdit* edit = nullptr;
        std::unique_ptr<QWidget> window(makeWindow(&edit));
        Reports reports;
        m_recorder.install();
        m_recorder.setCallback(reports.callback());
        const keys::Key a = keys::letter('A');
        keys::press(edit, a);
        keys::release(edit, a, true);
        keys::press(edit, a, true);
        keys::release(edit, a, true);
        keys::press(edit, a, true);
        keys::release(edit, a);
        QCOMPARE(reports.events, (QVector<Event>{{65, true, false}, {65, true, true}, {65, true, true}, {65, false, false}}));
    }

    // Alt held (and Ctrl not) makes a system message; F10 alone stays plain.
    void altMakesSystemMessages()
    {
        QLineEdit* edit = nullptr;
        std::unique_ptr<QWidget> window(makeWindow(&edit));
        Reports recorder;
        Reports single;
        m_recorder.install();
        m_recorder.setCallback(recorder.callback());
        m_single.install();
        m_single.setCallback(single.callback());
        keys::Key x = keys::letter('X');
        x.modifiers = Qt::AltModifier;
        keys::press(edit, x);
        // Only the recorder's hook counts the system press as a press.
        QCOMPARE(recorder.events.last(), (Event{88, true, false}));
        QCOMPARE(single.events.last(), (Event{88, false, false}));
        keys::release(edit, x);
        keys::Key y = keys::letter('Y');
        y.modifiers = Qt::AltModifier | Qt::ControlModifier;
        keys::press(edit, y);
        QCOMPARE(single.events.last(), (Event{89, true, false}));
        keys::release(edit, y);
        const keys::Key f10{Qt::Key_F10, QString(), 76, 0xFFC7};
        keys::press(edit, f10);
        QCOMPARE(single.events.last(), (Event{121, true, false}));
    }

    void virtualKeyCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<uint>("scanCode");
        QTest::addColumn<uint>("symbol");
        QTest::addColumn<int>("code");
        const auto row = [](const char* name, int key, int modifiers, uint scan, uint symbol, int code) {
            QTest::newRow(name) << key << modifiers << scan << symbol << code;
        };
        const int keypad = Qt::KeypadModifier;
        row("A", Qt::Key_A, 0, 38, 'a', 65);
        row("shift 1 by position", Qt::Key_Exclam, Qt::ShiftModifier, 10, '!', 49);
        row("! without scan code", Qt::Key_Exclam, 0, 0, 0, 49);
        row("French top row", Qt::Key_Eacute, 0, 11, 0xE9, 50);
        row("colon", Qt::Key_Colon, Qt::ShiftModifier, 0, 0, 186);
        row("right shift", Qt::Key_Shift, 0, 62, 0xFFE2, 161);
        row("shift without symbol", Qt::Key_Shift, 0, 0, 0, 160);
        row("right ctrl", Qt::Key_Control, 0, 105, 0xFFE4, 163);
        row("left alt", Qt::Key_Alt, 0, 64, 0xFFE9, 164);
        row("AltGr", Qt::Key_AltGr, 0, 108, 0xFE03, 165);
        row("right super", Qt::Key_Super_R, 0, 134, 0xFFEC, 92);
        row("keypad 5 NumLock off", Qt::Key_Clear, keypad, 84, 0xFF9D, 12);
        row("keypad Enter", Qt::Key_Enter, keypad, 104, 0xFF8D, 13);
        row("keypad 0", Qt::Key_0, keypad, 90, 0xFFB0, 96);
        row("keypad 9", Qt::Key_9, keypad, 81, 0xFFB9, 105);
        row("keypad plus", Qt::Key_Plus, keypad, 86, 0xFFAB, 107);
        row("keypad slash", Qt::Key_Slash, keypad, 106, 0xFFAF, 111);
        row("keypad end NumLock off", Qt::Key_End, keypad, 87, 0xFF9C, 35);
        row("Return", Qt::Key_Return, 0, 36, 0xFF0D, 13);
        row("Escape", Qt::Key_Escape, 0, 9, 0xFF1B, 27);
        row("F12", Qt::Key_F12, 0, 96, 0xFFC9, 123);
        row("F13", Qt::Key_F13, 0, 191, 0xFFCA, 124);
        row("F24", Qt::Key_F24, 0, 202, 0xFFD5, 135);
        row("Backtab", Qt::Key_Backtab, Qt::ShiftModifier, 23, 0xFE20, 9);
        row("SysReq", Qt::Key_SysReq, Qt::AltModifier, 107, 0xFF15, 44);
        row("Cyrillic letter by position", 0x424, 0, 38, 0x6C6, 65);
        row("grave", Qt::Key_QuoteLeft, 0, 49, '`', 192);
        row("volume up", Qt::Key_VolumeUp, 0, 123, 0x1008FF13, 175);
        row("play", Qt::Key_MediaTogglePlayPause, 0, 172, 0x1008FF14, 179);
        row("unknown key", Qt::Key_Hangul_Hanja, 0, 0, 0, 255);
    }

    void virtualKeyCodes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(uint, scanCode);
        QFETCH(uint, symbol);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, symbol, 0);
        QCOMPARE(virtualKeyCode(event), code);
    }
};

QTEST_MAIN(KeyboardCaptureTest)
#include "tst_keyboard_capture.moc"
