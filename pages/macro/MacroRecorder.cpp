#include "pages/macro/MacroRecorder.h"

#include "device/KeyNames.h"
#include "device/SharedFlags.h"

#include <QTimer>

MacroRecorder::MacroRecorder(Rows rows, QObject* parent)
    : QObject(parent)
    , m_rows(std::move(rows))
{
}

MacroRecorder::~MacroRecorder()
{
    m_hook.uninstall();
}

void MacroRecorder::start()
{
    m_recordedCount = 0;
    m_held.clear();
    m_hook.install();
    m_hook.bindCallback(this, &MacroRecorder::UpdateCapslockTip);
    MacroRecording = 1;
    FirstEvent = true;
    DelayTimer.start();
}

void MacroRecorder::stop()
{
    m_hook.uninstall();
    m_recordedCount = 0;
    m_held.clear();
    MacroRecording = 0;
}

void MacroRecorder::UpdateCapslockTip(int keyCode, bool downOrUp, bool /*aotu*/)
{
    if (!MacroRecording) {
        DelayTimer.restart();
        return;
    }
    // A held key repeating counts once; a release always counts and ends the hold.
    if (downOrUp) {
        if (m_held.contains(keyCode))
            return;
        m_held.insert(keyCode);
    } else {
        m_held.remove(keyCode);
    }
    if (FirstEvent) {
        DelayTimer.restart();
        FirstEvent = false;
    } else {
        const qint64 measured = DelayTimer.elapsed();
        m_rows.addDelay(m_rows.delayFor ? m_rows.delayFor(measured) : measured);
        DelayTimer.restart();
    }
    // Keys without a name (and the nameless keypad 5) leave no row; the delay before them
    // becomes the delay before the next named key.
    const QString name = VirtualKeyName(keyCode, KeyNameUser::Recorder).value_or(QString());
    if (name.isEmpty()) {
        FirstEvent = true;
        return;
    }
    ++m_recordedCount;
    m_rows.addKey(name, downOrUp);
    if (m_recordedCount >= MaxKeys) {
        stop();
        QTimer::singleShot(0, this, &MacroRecorder::limitReached);
    }
}
