#include "common/PostMsg.h"

#include "common/BlockingDelivery.h"


PostMsg::PostMsg(QObject* parent)
    : QObject(parent)
{
    // Automatic connections across threads queue copies of these types: they must be known
    // before the first emission, not only once some receiver has connected with blocking
    // delivery.
    qRegisterMetaType<FlashDataMap>("FlashDataMap");
    qRegisterMetaType<DeviceAllInfo>("DeviceAllInfo");
    qRegisterMetaType<DongleRGB*>("DongleRGB*");
}

PostMsg* PostMsg::instance()
{
    // Created once, thread-safely, and kept until the process ends.
    static PostMsg* const hub = new PostMsg;
    return hub;
}

bool PostMsg::isBlockingSignal(const char* signal)
{
    if (!signal)
        return false;
    const QByteArray name = BlockingDelivery::signature(signal);
    static const QList<QByteArray> blocking = {
        "SigUpDataConfigUI(int,int,bool)", "SigUpDataLightUIButton(FlashDataMap)",
        "SigUpDataLightLight(FlashDataMap)", "SigUpDataLightSensor(FlashDataMap)",
        "SigUpDataReportRate(int)", "SigUpDataDPI(int)", "SigUpDataDPILed(FlashDataMap)",
        "SigBattery(bool,int,bool)", "SigRGBValue(DongleRGB*)", "SigLongRangeMode(bool)",
        "SigForm()", "SigFormReset()", "SigPagesNeeded()"};
    return blocking.contains(name);
}

void PostMsg::setPagesPending(bool pending)
{
    instance()->m_pagesPending = pending;
}

void PostMsg::needPages()
{
    if (m_pagesPending.load())
        emit SigPagesNeeded();
}

bool PostMsg::connectBlocking(const char* signal, const QObject* receiver, const char* slot)
{
    Q_ASSERT_X(isBlockingSignal(signal), "PostMsg::connectBlocking", signal);
    return BlockingDelivery::connect(instance(), signal, const_cast<QObject*>(receiver), slot);
}

void PostMsg::SendChangeMainDialog(int index) { emit SigChangeMainDialog(index); }
void PostMsg::SendChangeSize(int index) { emit SigChangeSize(index); }
void PostMsg::SendUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable)
{
    needPages();
    emit SigUpDataConfigUI(ToTalItem, SelectIndex, ItemEnable);
}
void PostMsg::SendUpDataLightUIButton(FlashDataMap DataMap) { needPages(); emit SigUpDataLightUIButton(DataMap); }
void PostMsg::SendUpDataLightLight(FlashDataMap DataMap) { needPages(); emit SigUpDataLightLight(DataMap); }
void PostMsg::SendUpDataLightSensor(FlashDataMap DataMap) { needPages(); emit SigUpDataLightSensor(DataMap); }
void PostMsg::SendUpDataLightUIA(FlashDataMap DataMap) { needPages(); emit SigUpDataLightUIA(DataMap); }
void PostMsg::SendUpDataSensorUIB(FlashDataMap DataMap) { needPages(); emit SigUpDataSensorUIB(DataMap); }
void PostMsg::SendUpDataButtonUIC(FlashDataMap DataMap) { needPages(); emit SigUpDataButtonUIC(DataMap); }
void PostMsg::SendButtonToMacro(FlashDataMap DataMap, int KeyNumer) { needPages(); emit SigButtonToMacro(DataMap, KeyNumer); }
void PostMsg::SendSelectMouseInfo(DeviceAllInfo SelectInfo) { emit SigSelectMouseInfo(SelectInfo); }
void PostMsg::SendMouseOffLineo(int index) { needPages(); emit SigMouseOffLineo(index); }
void PostMsg::SendMainPageChange() { needPages(); emit SigMainPageChange(); }
void PostMsg::SendSecondPageChange() { needPages(); emit SigSecondPageChange(); }
void PostMsg::SendAddMacroButton() { needPages(); emit SigAddMacroButton(); }
void PostMsg::SendDeleteMacroButton(QString MacroName) { needPages(); emit SigDeleteMacroButton(MacroName); }
void PostMsg::SendMacroDownLoadData(QString MacroName, int index) { needPages(); emit SigMacroDownLoadData(MacroName, index); }
void PostMsg::SendUpDataMacro(QString MacroName, int index) { needPages(); emit SigUpDataMacro(MacroName, index); }
void PostMsg::SendUpDataParam(int index) { emit SigUpDataParam(index); }
void PostMsg::SendUpDataReportRate(int index) { needPages(); emit SigUpDataReportRate(index); }
void PostMsg::SendUpDataDPI(int index) { needPages(); emit SigUpDataDPI(index); }
void PostMsg::SendUpDataDPILed(FlashDataMap DataMap) { needPages(); emit SigUpDataDPILed(DataMap); }
void PostMsg::SendTimerStop() { needPages(); emit SigTimerStop(); }
void PostMsg::SendButtonEnable(int index) { needPages(); emit SigButtonEnable(index); }
void PostMsg::SendLabelText(int index, QString Text) { needPages(); emit SigLabelText(index, Text); }
void PostMsg::SendLabelTextB(QString TextA, QString Text)
{
    {
        const QMutexLocker lock(&m_lineMutex);
        m_receiverLine = QStringList{TextA, Text};
    }
    emit SigLabelTextB(TextA, Text);
}

QStringList PostMsg::lastReceiverLine() const
{
    const QMutexLocker lock(&m_lineMutex);
    return m_receiverLine;
}
void PostMsg::SendCloseUpdate() { needPages(); emit SigCloseUpdate(); }
void PostMsg::SendProgress(int index, int value) { needPages(); emit SigProgress(index, value); }
void PostMsg::SendBattery(bool IsCharg, int Number, bool IsText) { needPages(); emit SigBattery(IsCharg, Number, IsText); }
void PostMsg::SendAutoRepair(int index) { needPages(); emit SigAutoRepair(index); }
void PostMsg::SendAutoRepairProgress(int index) { needPages(); emit SigAutoRepairProgress(index); }
void PostMsg::SendChangeLanguage(int index) { emit SigChangeLanguage(index); }
void PostMsg::SendLanguageSameA(int index) { needPages(); emit SigLanguageSameA(index); }
void PostMsg::SendLanguageSameB(int index) { needPages(); emit SigLanguageSameB(index); }
void PostMsg::SendCloseOffOnline() { needPages(); emit SigCloseOffOnline(); }
void PostMsg::SendSetMacroPage() { needPages(); emit SigSetMacroPage(); }
void PostMsg::SendStartRecord(int index) { needPages(); emit SigStartRecord(index); }
void PostMsg::SendUpDateButton(bool IsHide) { needPages(); emit SigUpDateButton(IsHide); }
void PostMsg::SendMacroRename(QString OldName, QString NewName) { needPages(); emit SigMacroRename(OldName, NewName); }
void PostMsg::SendSetver(int index)
{
    // Only 0 and 5 show versions; the others put the settings page back as it is built (its
    // texts, its notes hidden, 6 its version lines cleared): a page not built yet needs none.
    if (index == 0 || index == 5)
        needPages();
    if (index == 6) {
        const QMutexLocker lock(&m_lineMutex);
        m_receiverLine.clear();
    }
    emit SigSetver(index);
}
void PostMsg::SendCloseProgress() { needPages(); emit SigCloseProgress(); }
void PostMsg::SendRGBValue(DongleRGB* Rgb) { needPages(); emit SigRGBValue(Rgb); }
void PostMsg::SendLongRangeMode(bool Select) { needPages(); emit SigLongRangeMode(Select); }
void PostMsg::SendForm() { needPages(); emit SigForm(); }
void PostMsg::SendFormB() { needPages(); emit SigFormB(); }
void PostMsg::SendEnterKey() { needPages(); emit SigEnterKey(); }
void PostMsg::SendFormReset() { needPages(); emit SigFormReset(); }
void PostMsg::SendHideModel(int index) { needPages(); emit SigHideModel(index); }
void PostMsg::SendContinue(int index) { needPages(); emit SigContinue(index); }
void PostMsg::SendMouseIndex(int index)
{
    m_lastMouseIndex = index;
    emit SigMouseIndex(index);
}
