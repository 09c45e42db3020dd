#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"

// The lighting page. For now only its fill slots, which mark the page busy while filling
// and ready when filled.
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
};
