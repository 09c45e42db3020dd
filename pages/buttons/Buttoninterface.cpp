#include "pages/buttons/Buttoninterface.h"

#include "common/BlockingDelivery.h"
#include "common/PostMsg.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"

#include "HIDUsb.h"

Buttoninterface::Buttoninterface(QWidget* parent)
    : QWidget(parent)
{
    PostMsg::connectBlocking(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                             SLOT(SlotUpDataButtonUIButton(FlashDataMap)));
    connect(PostMsg::instance(), SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetButton()));
    PostMsg::connectBlocking(SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(SlotUpDataConfigUI(int, int, bool)));

    m_worker = new Worker(this);
}

Buttoninterface::~Buttoninterface()
{
    m_worker->ClearRunRequest();
    {
        // The run may be waiting for a GUI slot: it gives up while we wait for it.
        BlockingDelivery::WaitScope scope;
        m_worker->wait();
    }
    delete m_worker;
    StopUsbChanged();
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap)
{
    ButtonPageReady = 0;
    ButtonPageBusy = 1;
    SlotUpDataButtonUIB(DataMap);
    ButtonPageBusy = 0;
    ButtonPageReady = 1;
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap /*DataMap*/)
{
    ButtonPageBusy = 1;
    // The bindings are shown here once the page has its controls.
    ButtonPageBusy = 0;
}

void Buttoninterface::SlotFormResetButton()
{
    ButtonPageBusy = 1;
    ButtonPageBusy = 0;
}

void Buttoninterface::SlotUpDataConfigUI(int /*ToTalItem*/, int /*SelectIndex*/, bool /*ItemEnable*/)
{
}
