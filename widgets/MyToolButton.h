#pragma once
#include <QToolButton>

// Tool button that acts on the left press (clicked(false)) and on a left double click
// (clicked(true)); the release reports nothing.
class MyToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit MyToolButton(QWidget* parent = nullptr);
    ~MyToolButton() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
