#pragma once
// Records what the signal hub delivers from the device side, for the device-link tests.
#include "common/PostMsg.h"
#include "device/SharedFlags.h"

#include <QMutex>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>

#include <functional>

namespace linktest {

// Records what the hub delivers. Connected before the pages, so it sees the flags as the
// emitter left them.
class HubRecorder : public QObject {
    Q_OBJECT
public:
    HubRecorder()
    {
        PostMsg* hub = PostMsg::instance();
        PostMsg::connectBlocking(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this, SLOT(onButtonImage(FlashDataMap)));
        PostMsg::connectBlocking(SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(onLightImage(FlashDataMap)));
        PostMsg::connectBlocking(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(onSensorImage(FlashDataMap)));
        PostMsg::connectBlocking(SIGNAL(SigForm()), this, SLOT(onForm()));
        PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(onFormReset()));
        PostMsg::connectBlocking(SIGNAL(SigUpDataReportRate(int)), this, SLOT(onReportRate(int)));
        PostMsg::connectBlocking(SIGNAL(SigUpDataDPI(int)), this, SLOT(onDpi(int)));
        PostMsg::connectBlocking(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(onDpiLed(FlashDataMap)));
        PostMsg::connectBlocking(SIGNAL(SigBattery(bool, int, bool)), this, SLOT(onBattery(bool, int, bool)));
        PostMsg::connectBlocking(SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(onConfigUI(int, int, bool)));
        PostMsg::connectBlocking(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(onRgb(DongleRGB*)));
        PostMsg::connectBlocking(SIGNAL(SigLongRangeMode(bool)), this, SLOT(onLongRange(bool)));
        connect(hub, SIGNAL(SigSetver(int)), this, SLOT(onSetver(int)));
        connect(hub, SIGNAL(SigUpDataParam(int)), this, SLOT(onUpDataParam(int)));
        connect(hub, SIGNAL(SigCloseOffOnline()), this, SLOT(onCloseOffOnline()));
        connect(hub, SIGNAL(SigChangeMainDialog(int)), this, SLOT(onChangeMainDialog(int)));
        connect(hub, SIGNAL(SigLabelTextB(QString, QString)), this, SLOT(onLabelTextB(QString, QString)));
    }

    QStringList events() const
    {
        QMutexLocker lock(&m_lock);
        return m_events;
    }
    int count(const QString& prefix) const
    {
        int n = 0;
        // "Form" counts "Form" only; "RGB" counts "RGB(2)"; "RGB(2)" counts itself.
        for (const QString& e : events())
            n += (e == prefix || e.startsWith(prefix + QLatin1Char('('))) ? 1 : 0;
        return n;
    }
    // Where the record stands now: the start of what loadEndedSince looks at.
    int mark() const
    {
        QMutexLocker lock(&m_lock);
        return m_events.size();
    }
    // The load begun after `mark` has ended: the mouse's images reached the pages (the Form
    // that follows them) and the busy dialog that the load asked for has run out (its
    // Setver(4)). Both stay in the record, unlike the pages' ready flags, which the end of
    // the load clears again. A recorder made before the frame sees the load's request before
    // the busy dialog's run.
    bool loadEndedSince(int mark) const
    {
        const QStringList since = events().mid(mark);
        const int asked = since.indexOf(QRegularExpression(QStringLiteral("^UpDataParam\\(")));
        return since.contains(QStringLiteral("Form")) && (asked < 0 || since.indexOf(QStringLiteral("Setver(4)"), asked) > asked);
    }
    void clear()
    {
        QMutexLocker lock(&m_lock);
        m_events.clear();
    }

    FlashDataMap buttonImage{}, lightImage{}, sensorImage{}, dpiLedImage{};
    QString readyFlagsAtButtonImage;  // "button,light,sensor" as they were when the first image came
    std::function<void()> onFormResetHook;
    // Called on the GUI thread after each recorded event, inside the slot that recorded it.
    std::function<void(const QString&)> onEventHook;

private slots:
    void onButtonImage(FlashDataMap image)
    {
        readyFlagsAtButtonImage = QStringLiteral("%1,%2,%3").arg(ButtonPageReady.load()).arg(LightPageReady.load()).arg(SensorPageReady.load());
        buttonImage = image;
        add(QStringLiteral("ButtonImage"));
    }
    void onLightImage(FlashDataMap image) { lightImage = image; add(QStringLiteral("LightImage")); }
    void onSensorImage(FlashDataMap image) { sensorImage = image; add(QStringLiteral("SensorImage")); }
    void onForm() { add(QStringLiteral("Form")); }
    void onFormReset()
    {
        add(QStringLiteral("FormReset"));
        if (onFormResetHook)
            onFormResetHook();
    }
    void onReportRate(int code) { add(QStringLiteral("ReportRate(%1)").arg(code)); }
    void onDpi(int level) { add(QStringLiteral("Dpi(%1)").arg(level)); }
    void onDpiLed(FlashDataMap image) { dpiLedImage = image; add(QStringLiteral("DpiLed")); }
    void onBattery(bool charging, int level, bool text)
    {
        add(QStringLiteral("Battery(%1,%2,%3)").arg(int(charging)).arg(level).arg(int(text)));
    }
    void onConfigUI(int total, int index, bool enable)
    {
        add(QStringLiteral("ConfigUI(%1,%2,%3)").arg(total).arg(index).arg(int(enable)));
    }
    void onRgb(DongleRGB* rgb) { add(QStringLiteral("RGB(%1)").arg(rgb ? rgb->bytes[0] : -1)); }
    void onLongRange(bool on) { add(QStringLiteral("LongRange(%1)").arg(int(on))); }
    void onSetver(int index) { add(QStringLiteral("Setver(%1)").arg(index)); }
    void onUpDataParam(int index) { add(QStringLiteral("UpDataParam(%1)").arg(index)); }
    void onCloseOffOnline() { add(QStringLiteral("CloseOffOnline")); }
    void onChangeMainDialog(int index) { add(QStringLiteral("ChangeMainDialog(%1)").arg(index)); }
    void onLabelTextB(QString a, QString b) { add(QStringLiteral("LabelTextB(%1,%2)").arg(a, b)); }

private:
    void add(const QString& e)
    {
        {
            QMutexLocker lock(&m_lock);
            m_events << e;
        }
        if (onEventHook)
            onEventHook(e);
    }
    mutable QMutex m_lock;
    QStringList m_events;
};

}  // namespace linktest
