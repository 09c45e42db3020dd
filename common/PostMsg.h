#pragma once
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <QString>

#include "HIDUsb.h"
#include "device/DeviceAllInfo.h"
#include "device/FlashDataMap.h"

// The signal hub: the one channel between pages, between the device side and the pages,
// and towards the shell. Receivers connect by string signature, e.g.
//   connect(PostMsg::instance(), SIGNAL(SigMouseOffLineo(int)), this, SLOT(SlotMouseOffLine(int)));
// Every signal but SigUpPageLight has one emitter, Send + the signal name without Sig. The
// emitters take their arguments by value, so a slot sees the image or text as it was when
// the emitter was called, whatever another thread writes meanwhile.
//
// Thirteen signals are emitted by the device side off the GUI thread and make the emitter wait
// until the GUI slot has returned; their receivers connect with PostMsg::connectBlocking:
// SigUpDataConfigUI, SigUpDataLightUIButton, SigUpDataLightLight, SigUpDataLightSensor,
// SigUpDataReportRate, SigUpDataDPI, SigUpDataDPILed, SigBattery, SigRGBValue,
// SigLongRangeMode, SigForm, SigFormReset, SigPagesNeeded. The delivery never hangs the program: the
// emitter gives up when the program shuts down, while the GUI thread waits for another
// thread, or when the receiver is gone (common/BlockingDelivery.h); the slot reads the
// delivery's own copy of the arguments.
class PostMsg : public QObject {
    Q_OBJECT
public:
    explicit PostMsg(QObject* parent = nullptr);

    // The one hub, created on the first call and never deleted.
    static PostMsg* instance();

    // Connects one of the thirteen device-side signals (SIGNAL() form) to a receiver slot
    // (SLOT() form) with blocking delivery: the emitting thread waits until the slot has
    // returned. Emitted on the GUI thread, the slot is called directly.
    static bool connectBlocking(const char* signal, const QObject* receiver, const char* slot);
    // True for the thirteen signals above (normalised signature without arguments' names,
    // e.g. "SigForm()" or SIGNAL(SigForm())).
    static bool isBlockingSignal(const char* signal);

    // The frame builds the pages the user does not see first after its first paint. While
    // they are pending, every emitter but those of the frame's own first steps first emits
    // SigPagesNeeded, whose receiver builds them: no page misses a signal. Those steps are
    // the main dialog, the window size, the chosen device and the busy dialog's start (no page
    // receives them), the language, the mouse index and the receiver's version line (the pages
    // read them when they are built), and the version steps that put the settings page back
    // as it is built (SendSetver but 0 and 5).
    static void setPagesPending(bool pending);
    // The last mouse index sent, -1 before the first: a page built later starts with it.
    int lastMouseIndex() const { return m_lastMouseIndex.load(); }
    // The arguments of the last SendLabelTextB since the version lines were last cleared
    // (SendSetver(6)); empty when there is none.
    QStringList lastReceiverLine() const;

    void SendChangeMainDialog(int index);
    void SendChangeSize(int index);
    void SendUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SendUpDataLightUIButton(FlashDataMap DataMap);
    void SendUpDataLightLight(FlashDataMap DataMap);
    void SendUpDataLightSensor(FlashDataMap DataMap);
    void SendUpDataLightUIA(FlashDataMap DataMap);
    void SendUpDataSensorUIB(FlashDataMap DataMap);
    void SendUpDataButtonUIC(FlashDataMap DataMap);
    void SendButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SendSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SendMouseOffLineo(int index);
    void SendMainPageChange();
    void SendSecondPageChange();
    void SendAddMacroButton();
    void SendDeleteMacroButton(QString MacroName);
    void SendMacroDownLoadData(QString MacroName, int index);
    void SendUpDataMacro(QString MacroName, int index);
    void SendUpDataParam(int index);
    void SendUpDataReportRate(int index);
    void SendUpDataDPI(int index);
    void SendUpDataDPILed(FlashDataMap DataMap);
    void SendTimerStop();
    void SendButtonEnable(int index);
    void SendLabelText(int index, QString Text);
    void SendLabelTextB(QString TextA, QString Text);
    void SendCloseUpdate();
    void SendProgress(int index, int value);
    void SendBattery(bool IsCharg, int Number, bool IsText);
    void SendAutoRepair(int index);
    void SendAutoRepairProgress(int index);
    void SendChangeLanguage(int index);
    void SendLanguageSameA(int index);
    void SendLanguageSameB(int index);
    void SendCloseOffOnline();
    void SendSetMacroPage();
    void SendStartRecord(int index);
    void SendUpDateButton(bool IsHide);
    void SendMacroRename(QString OldName, QString NewName);
    void SendSetver(int index);
    void SendCloseProgress();
    void SendRGBValue(DongleRGB* Rgb);
    void SendLongRangeMode(bool Select);
    void SendForm();
    void SendFormB();
    void SendEnterKey();
    void SendFormReset();
    void SendHideModel(int index);
    void SendContinue(int index);
    void SendMouseIndex(int index);

signals:
    void SigChangeMainDialog(int index);
    void SigChangeSize(int index);
    void SigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SigUpDataLightUIButton(FlashDataMap DataMap);
    void SigUpDataLightLight(FlashDataMap DataMap);
    void SigUpDataLightSensor(FlashDataMap DataMap);
    void SigUpDataLightUIA(FlashDataMap DataMap);
    void SigUpDataSensorUIB(FlashDataMap DataMap);
    void SigUpDataButtonUIC(FlashDataMap DataMap);
    void SigButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SigSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SigMouseOffLineo(int index);
    void SigMainPageChange();
    void SigSecondPageChange();
    void SigUpPageLight();
    void SigAddMacroButton();
    void SigDeleteMacroButton(QString MacroName);
    void SigMacroDownLoadData(QString MacroName, int index);
    void SigUpDataMacro(QString MacroName, int index);
    void SigUpDataParam(int index);
    void SigUpDataReportRate(int index);
    void SigUpDataDPI(int index);
    void SigUpDataDPILed(FlashDataMap DataMap);
    void SigTimerStop();
    void SigButtonEnable(int index);
    void SigLabelText(int index, QString Text);
    void SigLabelTextB(QString TextA, QString Text);
    void SigCloseUpdate();
    void SigProgress(int index, int value);
    void SigBattery(bool IsCharg, int Number, bool IsText);
    void SigAutoRepair(int index);
    void SigAutoRepairProgress(int index);
    void SigChangeLanguage(int index);
    void SigLanguageSameA(int index);
    void SigLanguageSameB(int index);
    void SigCloseOffOnline();
    void SigSetMacroPage();
    void SigStartRecord(int index);
    void SigUpDateButton(bool IsHide);
    void SigMacroRename(QString OldName, QString NewName);
    void SigSetver(int index);
    void SigCloseProgress();
    void SigRGBValue(DongleRGB* Rgb);
    void SigLongRangeMode(bool Select);
    void SigForm();
    void SigFormB();
    void SigEnterKey();
    void SigFormReset();
    void SigHideModel(int index);
    void SigContinue(int index);
    void SigMouseIndex(int index);
    void SigPagesNeeded();

private:
    void needPages();

    std::atomic<bool> m_pagesPending{false};
    std::atomic<int> m_lastMouseIndex{-1};
    mutable QMutex m_lineMutex;
    QStringList m_receiverLine;
};
