#include "pages/macro/KeyHook.h"

#include "pages/macro/VirtualKeyCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVector>
#include <QWindow>

struct KeyHookState {
    explicit KeyHookState(bool systemKeys)
        : tracksSystemKeys(systemKeys)
    {
    }
    const bool tracksSystemKeys;
    bool installed = false;
    uint32_t LastKeyCode = 0;
    bool KeyDown = false;
    bool KeyRepeat = false;
    KeyHookCallbackFn KeyHookCallback;
};

namespace {

KeyHookState RecorderHook{true};
KeyHookState SingleKeyHook{false};
KeyHookState CombinationHook{false};

std::function<bool()>& foregroundTest()
{
    static std::function<bool()> test;
    return test;
}

bool programInFront()
{
    if (foregroundTest())
        return foregroundTest()();
    return QGuiApplication::focusWindow() != nullptr;
}

// Hands key events that reach a window of the program to the installed hooks. Key events are
// sent to the window first and then forwarded to its focus widget; taking them only at the
// window sees each key once, before any widget could take it.
class KeyCaptureFilter : public QObject {
public:
    static KeyCaptureFilter& instance()
    {
        static KeyCaptureFilter filter;
        return filter;
    }

    void add(KeyHookState* hook)
    {
        m_installed.removeAll(hook);
        m_installed.append(hook);
        if (!m_filtering && qApp) {
            qApp->installEventFilter(this);
            m_filtering = true;
        }
    }

    void remove(KeyHookState* hook)
    {
        m_installed.removeAll(hook);
        if (m_installed.isEmpty() && m_filtering && qApp) {
            qApp->removeEventFilter(this);  // safe while the filter runs
            m_filtering = false;
        }
    }

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !receiver->isWindowType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats as release and press pairs on X11: the press passes as a key-down
        // again (the hook then reports the repeat), the release is dropped.
        if (type == QEvent::KeyRelease && key->isAutoRepeat())
            return false;
        if (!programInFront())
            return false;
        const int code = virtualKeyCode(*key);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const bool alt = (key->modifiers() & Qt::AltModifier) || code == 164 || code == 165;
        const bool system = alt && !ctrl;
        const int message = type == QEvent::KeyPress ? (system ? SysKeyDownMessage : KeyDownMessage)
                                                     : (system ? SysKeyUpMessage : KeyUpMessage);
        // The latest installed first; a hook removed by an earlier callback is skipped.
        const QVector<KeyHookState*> hooks = m_installed;
        for (auto it = hooks.crbegin(); it != hooks.crend(); ++it) {
            if ((*it)->installed)
                dispatch(**it, message, code);
        }
        return false;
    }

    static void dispatch(KeyHookState& state, int message, int keyCode);

private:
    QVector<KeyHookState*> m_installed;
    bool m_filtering = false;
};

void KeyCaptureFilter::dispatch(KeyHookState& state, int message, int keyCode)
{
    const auto vk = static_cast<uint32_t>(keyCode);
    if (vk == state.LastKeyCode) {
        state.KeyRepeat = true;
    } else {
        state.KeyRepeat = false;
        state.LastKeyCode = vk;
    }
    switch (message) {
    case KeyDownMessage:
        state.KeyDown = true;
        break;
    case KeyUpMessage:
        state.KeyDown = false;
        state.KeyRepeat = false;
        state.LastKeyCode = 0;
        break;
    case SysKeyDownMessage:
        if (state.tracksSystemKeys)
            state.KeyDown = true;
        break;
    case SysKeyUpMessage:
        if (state.tracksSystemKeys)
            state.KeyDown = false;
        break;
    default:
        break;
    }
    // A copy: the callback may rebind or remove its own hook.
    const KeyHookCallbackFn callback = state.KeyHookCallback;
    if (callback)
        callback(keyCode, state.KeyDown, state.KeyRepeat);
}

}  // namespace

KeyHookBase::KeyHookBase(KeyHookState& state)
    : m_state(state)
{
}

void KeyHookBase::install()
{
    m_state.installed = true;
    KeyCaptureFilter::instance().add(&m_state);
}

void KeyHookBase::uninstall()
{
    if (!m_state.installed)
        return;
    m_state.installed = false;
    KeyCaptureFilter::instance().remove(&m_state);
}

bool KeyHookBase::installed() const
{
    return m_state.installed;
}

void KeyHookBase::setCallback(KeyHookCallbackFn callback)
{
    m_state.KeyHookCallback = std::move(callback);
}

uint32_t KeyHookBase::LastKeyCode() const
{
    return m_state.LastKeyCode;
}

bool KeyHookBase::KeyDown() const
{
    return m_state.KeyDown;
}

bool KeyHookBase::KeyRepeat() const
{
    return m_state.KeyRepeat;
}

void KeyHookBase::hookProc(int message, int keyCode)
{
    KeyCaptureFilter::dispatch(m_state, message, keyCode);
}

KeyHook::KeyHook()
    : KeyHookBase(RecorderHook)
{
}

KeyHookB::KeyHookB()
    : KeyHookBase(SingleKeyHook)
{
}

KeyHookC::KeyHookC()
    : KeyHookBase(CombinationHook)
{
}

void setKeyHookForegroundTest(std::function<bool()> test)
{
    foregroundTest() = std::move(test);
}
