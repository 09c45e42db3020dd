#pragma once
#include <QFrame>

namespace Ui {
class StopCloseTime;
}

// The sleep-time list: after how long without use the mouse sleeps, eleven steps from 10 s to
// 40 minutes (SleepTimeSteps). The user's pick goes to the mouse at once (image byte 8), even
// when it is the entry already shown. The lighting page places it, fills it and names its entries.
class StopCloseTime : public QFrame {
    Q_OBJECT
public:
    explicit StopCloseTime(QWidget* parent = nullptr);
    ~StopCloseTime() override;

    // Selects an entry with the list's signals blocked: nothing is written.
    void setCurrentIndex(int position);
    int currentIndex() const;
    void setItemText(int position, const QString& text);

private slots:
    void on_StopClose_activated(int position);

private:
    Ui::StopCloseTime* ui;
    QString m_pictureDir;
};
