#pragma once
#include <QWidget>

// Plain top-level window of the program's size and title, shown until the real main window exists.
class StandInMainWindow : public QWidget {
    Q_OBJECT
public:
    explicit StandInMainWindow(QWidget* parent = nullptr);
};
