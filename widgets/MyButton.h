#pragma once
#include <QPushButton>

// Push button that shows the pointing hand while the mouse is over it.
class MyButton : public QPushButton {
    Q_OBJECT
public:
    explicit MyButton(QWidget* parent = nullptr);
    ~MyButton() override;

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
