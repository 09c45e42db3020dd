#pragma once
#include <QFrame>
#include <QString>

class QButtonGroup;
class QToolButton;

namespace Ui {
class SensorRate;
}

// The report-rate panel: seven checkable rate buttons, 125 Hz to 8000 Hz. A click writes the
// rate's code (image byte 0) and, when the write went through, tells the page whether the new
// rate is above 1000 Hz (SigHideModel). Checking a button from code writes nothing.
class SensorRate : public QFrame {
    Q_OBJECT
public:
    static constexpr int RateCount = 7;

    explicit SensorRate(QWidget* parent = nullptr);
    ~SensorRate() override;

    // Checks the button of row 0..6 (125 Hz .. 8000 Hz); other values do nothing.
    void setRate(int index);
    // Which high rates are offered: 0 none, 1 2000 and 4000 Hz, 2 2000 Hz, 3 all three.
    void setMaxRateMode(int mode);
    void setLabelText(const QString& text);
    // Whether the last click's write reached the mouse; the page's own rate slots, which run
    // after this panel's for the same click, read it instead of writing the rate again.
    bool lastWriteSucceeded() const { return m_lastWrite; }

    // Row of a report-rate code (image byte 0), -1 for a code not in the table.
    static int rowOfCode(int code);
    static uint8_t codeOfRow(int row);

private:
    void rateClicked(int row, bool checked);
    QToolButton* button(int row) const;

    Ui::SensorRate* ui;
    QString m_pictureDir;
    QButtonGroup* m_group = nullptr;
    bool m_lastWrite = false;
    // The row of the rate the mouse holds, as last set by the page or written; -1 unknown.
    int m_mouseRow = -1;
};
