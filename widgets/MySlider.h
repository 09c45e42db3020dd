#pragma once
#include <QSlider>

// Slider whose click jumps the handle to the clicked position instead of paging.
class MySlider : public QSlider {
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);
    ~MySlider() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
