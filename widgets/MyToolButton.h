#pragma once
#include <QToolButton>

#include "widgets/OwnedPress.h"

// Tool button that acts on the left press (clicked(false)) and on a left double click
// (clicked(true)); the release reports nothing. The press it acts on is its own to the end:
// its moves and its release are taken too, so the window never drags from it.
class MyToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit MyToolButton(QWidget* parent = nullptr);
    ~MyToolButton() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    OwnedPress m_press;
};
