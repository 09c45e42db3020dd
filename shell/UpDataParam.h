#pragma once
#include "common/OwnedDialog.h"
#include <QString>
#include <cstdint>

#include "common/ProgramWaits.h"
#include "device/FlashDataMap.h"

class QTimer;
namespace Ui {
class UpDataParam;
}

// The small busy dialog that asks the user to wait. Started with a single-shot 4500 ms timer
// and run modally; when the timer fires it waits for the pages to be refreshed (wait mode),
// applies a profile file (import mode) or finishes a load (fills the pages from the cache
// file, writes a missing cache file, opens the offline notice), then closes itself.
//
// Callers: construct (or reuse), StartTimer(), set the members, position, exec().
class UpDataParam : public OwnedDialog {
    Q_OBJECT
public:
    explicit UpDataParam(QWidget* parent = nullptr);
    ~UpDataParam() override;

    QString FilePath;       // profile file of the next import
    uint8_t ImportMode = 0; // 1: the next timer run imports FilePath
    uint8_t WaitMode = 0;   // 1: the timer run waits for the pages after a change of the mouse

    // Real durations (common/ProgramWaits.h); the waits themselves go through ProgramWaits::scaled.
    static constexpr int StartDelayMs = ProgramWaits::BusyStartMs;
    static constexpr int WaitSliceMs = ProgramWaits::BusyCheckMs;  // one wait between two checks of the pages
    static constexpr int ReadyChecks = 12;                         // the pages get at most this many checks
    static constexpr int WaitModeHoldMs = ProgramWaits::BusyWaitModeHoldMs;

    void StartTimer();
    void StopTimer();

    // Reads a profile exchange file for the current model: 0 accepted (out filled), 1 not
    // readable, not of this maker or cut short, 2 another sensor or too many DPI levels.
    static int LoadProfileFile(QString FileName, FlashDataMap* out);

public slots:
    void onTimeupDestroy();
    void SlotChangeLanguage(int index);

private:
    void runWaitMode();
    void runImport();
    void finishLoad();
    void fillPagesFromCache();
    // Checks the three page-ready flags up to ReadyChecks times with a wait after each miss.
    // On success clears the flags when asked to.
    bool waitForPages(bool clearFlags);

    Ui::UpDataParam* ui;
    QTimer* m_timer = nullptr;
    QString m_pictureDir;
};
