#pragma once
#include <QLineEdit>

// Line edit that swallows typed keys: its text is set by program code only, and the keys
// do not reach the dialog around it.
class MyLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MyLineEdit(QWidget* parent = nullptr);
    ~MyLineEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
