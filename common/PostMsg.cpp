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
        "SigForm()", "SigFormReset()"};
    return blocking.contains(name);
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
    emit SigUpDataConfigUI(ToTalItem, SelectIndex, ItemEnable);
}
void PostMsg::SendUpDataLightUIButton(FlashDataMap DataMap) { emit SigUpDataLightUIButton(DataMap); }
void PostMsg::SendUpDataLightLight(FlashDataMap DataMap) { emit SigUpDataLightLight(DataMap); }
void PostMsg::SendUpDataLightSensor(FlashDataMap DataMap) { emit SigUpDataLightSensor(DataMap); }
void PostMsg::SendUpDataLightUIA(FlashDataMap DataMap) { emit SigUpDataLightUIA(DataMap); }
void PostMsg::SendUpDataSensorUIB(FlashDataMap DataMap) { emit SigUpDataSensorUIB(DataMap); }
void PostMsg::SendUpDataButtonUIC(FlashDataMap DataMap) { emit SigUpDataButtonUIC(DataMap); }
void PostMsg::SendButtonToMacro(FlashDataMap DataMap, int KeyNumer) { emit SigButtonToMacro(DataMap, KeyNumer); }
void PostMsg::SendSelectMouseInfo(DeviceAllInfo SelectInfo) { emit SigSelectMouseInfo(SelectInfo); }
void PostMsg::SendMouseOffLineo(int index) { emit SigMouseOffLineo(index); }
void PostMsg::SendMainPageChange() { emit SigMainPageChange(); }
void PostMsg::SendSecondPageChange() { emit SigSecondPageChange(); }
void PostMsg::SendAddMacroButton() { emit SigAddMacroButton(); }
void PostMsg::SendDeleteMacroButton(QString MacroName) { emit SigDeleteMacroButton(MacroName); }
void PostMsg::SendMacroDownLoadData(QString MacroName, int index) { emit SigMacroDownLoadData(MacroName, index); }
void PostMsg::SendUpDataMacro(QString MacroName, int index) { emit SigUpDataMacro(MacroName, index); }
void PostMsg::SendUpDataParam(int index) { emit SigUpDataParam(index); }
void PostMsg::SendUpDataReportRate(int index) { emit SigUpDataReportRate(index); }
void PostMsg::SendUpDataDPI(int index) { emit SigUpDataDPI(index); }
void PostMsg::SendUpDataDPILed(FlashDataMap DataMap) { emit SigUpDataDPILed(DataMap); }
void PostMsg::SendTimerStop() { emit SigTimerStop(); }
void PostMsg::SendButtonEnable(int index) { emit SigButtonEnable(index); }
void PostMsg::SendLabelText(int index, QString Text) { emit SigLabelText(index, Text); }
void PostMsg::SendLabelTextB(QString TextA, QString Text) { emit SigLabelTextB(TextA, Text); }
void PostMsg::SendCloseUpdate() { emit SigCloseUpdate(); }
void PostMsg::SendProgress(int index, int value) { emit SigProgress(index, value); }
void PostMsg::SendBattery(bool IsCharg, int Number, bool IsText) { emit SigBattery(IsCharg, Number, IsText); }
void PostMsg::SendAutoRepair(int index) { emit SigAutoRepair(index); }
void PostMsg::SendAutoRepairProgress(int index) { emit SigAutoRepairProgress(index); }
void PostMsg::SendChangeLanguage(int index) { emit SigChangeLanguage(index); }
void PostMsg::SendLanguageSameA(int index) { emit SigLanguageSameA(index); }
void PostMsg::SendLanguageSameB(int index) { emit SigLanguageSameB(index); }
void PostMsg::SendCloseOffOnline() { emit SigCloseOffOnline(); }
void PostMsg::SendSetMacroPage() { emit SigSetMacroPage(); }
void PostMsg::SendStartRecord(int index) { emit SigStartRecord(index); }
void PostMsg::SendUpDateButton(bool IsHide) { emit SigUpDateButton(IsHide); }
void PostMsg::SendMacroRename(QString OldName, QString NewName) { emit SigMacroRename(OldName, NewName); }
void PostMsg::SendSetver(int index) { emit SigSetver(index); }
void PostMsg::SendCloseProgress() { emit SigCloseProgress(); }
void PostMsg::SendRGBValue(DongleRGB* Rgb) { emit SigRGBValue(Rgb); }
void PostMsg::SendLongRangeMode(bool Select) { emit SigLongRangeMode(Select); }
void PostMsg::SendForm() { emit SigForm(); }
void PostMsg::SendFormB() { emit SigFormB(); }
void PostMsg::SendEnterKey() { emit SigEnterKey(); }
void PostMsg::SendFormReset() { emit SigFormReset(); }
void PostMsg::SendHideModel(int index) { emit SigHideModel(index); }
void PostMsg::SendContinue(int index) { emit SigContinue(index); }
void PostMsg::SendMouseIndex(int index) { emit SigMouseIndex(index); }
