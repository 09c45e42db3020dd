#pragma once
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

// Keyboard watching for the macro recorder and the two key-catching dialogs. Each of the three
// hooks (KeyHook for the recorder, KeyHookB for the single-key dialog, KeyHookC for the
// combination dialog) has one process-wide state and one callback; the objects carry no data of
// their own, so any instance works on that shared state. Install and uninstall never reset the
// state or the callback: a new installation starts where the last one stopped.
//
// While at least one hook is installed, an application-wide event filter hands every key press
// and release that reaches a window of the program to the installed hooks, the latest installed
// first, as a Windows virtual-key code and a key message. Nothing is consumed: the windows get
// every key as before.

// Key messages, as the Windows keyboard hook numbers them.
enum KeyMessage : int {
    KeyDownMessage = 0x100,
    KeyUpMessage = 0x101,
    SysKeyDownMessage = 0x104,
    SysKeyUpMessage = 0x105,
};

// Receives (virtual-key code, pressed, repeated).
using KeyHookCallbackFn = std::function<void(int keyCode, bool downOrUp, bool aotu)>;

struct KeyHookState;

class KeyHookBase {
public:
    void install();
    // Harmless when not installed; allowed from inside the hook's own callback.
    void uninstall();
    bool installed() const;

    // Binds the callback to `slot` of `owner`; the call is skipped once the owner is gone.
    template <typename Owner>
    void bindCallback(Owner* owner, void (Owner::*slot)(int, bool, bool))
    {
        QPointer<Owner> guard(owner);
        setCallback([guard, slot](int keyCode, bool downOrUp, bool aotu) {
            if (guard)
                (guard.data()->*slot)(keyCode, downOrUp, aotu);
        });
    }
    void setCallback(KeyHookCallbackFn callback);

    // The state the callback sees, for tests and owners.
    uint32_t LastKeyCode() const;
    bool KeyDown() const;
    bool KeyRepeat() const;

    // Updates the state for one key message and calls the callback with (keyCode, KeyDown,
    // KeyRepeat). The event filter calls it for each key; tests call it directly.
    void hookProc(int message, int keyCode);

protected:
    explicit KeyHookBase(KeyHookState& state);

private:
    KeyHookState& m_state;
};

// The recorder's hook: presses and releases with Alt (system keys) change the down flag too.
class KeyHook : public KeyHookBase {
public:
    KeyHook();
};

// The single-key dialog's hook: only plain key messages change the down flag.
class KeyHookB : public KeyHookBase {
public:
    KeyHookB();
};

// The combination dialog's hook: as KeyHookB.
class KeyHookC : public KeyHookBase {
public:
    KeyHookC();
};

// Whether a window of the program is in front; keys arriving otherwise reach no hook. The
// default asks whether a window of the program has the keyboard focus. An empty function
// restores the default.
void setKeyHookForegroundTest(std::function<bool()> test);
