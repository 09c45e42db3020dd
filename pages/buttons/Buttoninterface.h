#pragma once
#include <QWidget>

#include "device/FlashDataMap.h"

class Worker;

// The button assignment page. For now only what the device side relies on: it owns the
// Worker, and its fill slots mark the page busy while filling and ready when filled.
class Buttoninterface : public QWidget {
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    // Stops the device side: no further run, the Worker joined, the hot-plug watch stopped.
    ~Buttoninterface() override;

public slots:
    // After a full load or from the cache file (blocking delivery).
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    // After a profile import or a cache load; leaves ButtonPageReady alone.
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    // No image available (blocking delivery).
    void SlotFormResetButton();
    // The active onboard profile (blocking delivery).
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);

private:
    Worker* m_worker = nullptr;
};
