#include "widgets/MySlider.h"

#include <QMouseEvent>

MySlider::MySlider(QWidget* parent)
    : QSlider(parent)
{
}

MySlider::~MySlider() = default;

void MySlider::mousePressEvent(QMouseEvent* event)
{
    QSlider::mousePressEvent(event);
    // A press on the groove pages and arms the repeat timer; the handle is placed by
    // hand below, so holding the button must not page it away again.
    setRepeatAction(SliderNoAction);
    if (width() <= 0)
        return;
    const double fraction = qBound(0.0, double(event->pos().x()) / double(width()), 1.0);
    const double value = double(minimum()) + (double(maximum()) - double(minimum())) * fraction;
    setValue(static_cast<int>(value));
}
