#include "widgets/MySlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

MySlider::MySlider(QWidget* parent)
    : QSlider(parent)
{
}

MySlider::~MySlider() = default;

bool MySlider::onHandle(const QPoint& pos) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_Slider, &option, pos, this) == QStyle::SC_SliderHandle;
}

void MySlider::mousePressEvent(QMouseEvent* event)
{
    // Asked before the base handler, which may move the handle.
    const bool handle = onHandle(event->pos());
    QSlider::mousePressEvent(event);
    // A press on the groove pages and arms the repeat timer; the handle is placed by
    // hand below, so holding the button must not page it away again.
    setRepeatAction(SliderNoAction);
    // The pointer's own spot on the handle rounds to a neighbouring value: a press there
    // would change the value without the hand moving.
    if (handle || width() <= 0)
        return;
    const double fraction = qBound(0.0, double(event->pos().x()) / double(width()), 1.0);
    const double value = double(minimum()) + (double(maximum()) - double(minimum())) * fraction;
    setValue(static_cast<int>(value));
    event->accept();
}
