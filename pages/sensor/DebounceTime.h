#pragma once
#include <QFrame>

namespace Ui {
class DebounceTime;
}

// The debounce-time list: 0 to 20 ms, the entry index being the milliseconds. A choice goes to
// the mouse at once (image byte 6); below 8 ms the LessThree advice follows. The button page
// places it, fills it and gives it its entry suffixes.
class DebounceTime : public QFrame {
    Q_OBJECT
public:
    static constexpr int EntryCount = 21;

    explicit DebounceTime(QWidget* parent = nullptr);
    ~DebounceTime() override;

    // Selects an entry with the list's signals on: a change runs the choice slot, which writes
    // nothing while the button page fills (ButtonPageBusy). An index outside 0..20 leaves no
    // entry selected.
    void setCurrentIndex(int index);
    int currentIndex() const;
    // Entry `index` reads its number followed by `suffix`.
    void setItemSuffix(int index, const QString& suffix);

private slots:
    void on_Debunce_currentIndexChanged(int index);

private:
    Ui::DebounceTime* ui;
    QString m_pictureDir;
};
