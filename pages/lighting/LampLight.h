#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"

class StopCloseTime;

// The lighting page. For now its fill slots, which mark the page busy while filling and ready
// when filled, and the sleep-time list.
class LampLight : public QWidget {
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);

public slots:
    // After a full load, a light-bar answer or from the cache file (blocking delivery).
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    // After a profile import or a cache load; leaves LightPageReady alone.
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    // No image available (blocking delivery).
    void SlotFormResetLight();
    // Reads the page's section "Light" of language file `index`.
    void SlotChangeLanguage(int index);

private:
    StopCloseTime* m_sleep = nullptr;
};
