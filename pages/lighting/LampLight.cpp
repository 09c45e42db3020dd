#include "pages/lighting/LampLight.h"

#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "device/SharedFlags.h"
#include "pages/sensor/SleepTimeSteps.h"
#include "pages/sensor/StopCloseTime.h"

namespace {
// Models whose light settings the page does not show: a fill leaves the page as it is; a reset
// also leaves it for model 20.
bool fillsNothing(int mid)
{
    return mid == 5 || mid == 15;
}
bool resetsNothing(int mid)
{
    return fillsNothing(mid) || mid == 20;
}
constexpr int DefaultSleepPosition = 2;  // 1 minute
}  // namespace

LampLight::LampLight(QWidget* parent)
    : QWidget(parent)
{
    m_sleep = new StopCloseTime(this);
    m_sleep->setObjectName(QStringLiteral("frameClose"));
    m_sleep->setGeometry(235, 420, 145, 35);
    m_sleep->setFrameShape(QFrame::StyledPanel);
    m_sleep->setFrameShadow(QFrame::Raised);
    SlotChangeLanguage(currentLanguageIndex());
    connect(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));

    PostMsg::connectBlocking(SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotUpDataLightUILight(FlashDataMap)));
    connect(PostMsg::instance(), SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    PostMsg::connectBlocking(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetLight()));
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    LightPageReady = 0;
    SlotUpDataLightUIA(DataMap);
    LightPageReady = 1;
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap)
{
    if (fillsNothing(ChosenModelId))
        return;
    LightPageBusy = 1;
    // The light settings are shown here once the page has its controls.
    const int position = SleepTimeSteps::positionOf(DataMap.sleepTime);
    if (position >= 0)
        m_sleep->setCurrentIndex(position);
    LightPageBusy = 0;
}

void LampLight::SlotFormResetLight()
{
    if (resetsNothing(ChosenModelId))
        return;
    LightPageBusy = 1;
    m_sleep->setCurrentIndex(DefaultSleepPosition);
    LightPageBusy = 0;
}

void LampLight::SlotChangeLanguage(int index)
{
    // "StopCloseTime" names the first sleep entry, "StopCloseTime1" to "StopCloseTime10" the others.
    QStringList known{QStringLiteral("StopCloseTime")};
    for (int k = 1; k <= 10; ++k)
        known << QStringLiteral("StopCloseTime%1").arg(k);
    loadLanguageSection(index, QStringLiteral("Light"), known, [this](const QString& element, const QString& text) {
        m_sleep->setItemText(element.midRef(int(qstrlen("StopCloseTime"))).toInt(), text);
    });
}
