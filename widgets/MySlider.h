#pragma once
#include <QSlider>

// Slider whose click on the groove jumps the handle to the clicked position instead of
// paging. A press on the handle itself only takes hold of it: the value stays until the
// handle is moved.
class MySlider : public QSlider {
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);
    ~MySlider() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool onHandle(const QPoint& pos) const;
};
