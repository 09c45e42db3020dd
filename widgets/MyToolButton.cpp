#include "widgets/MyToolButton.h"

#include <QMouseEvent>

MyToolButton::MyToolButton(QWidget* parent)
    : QToolButton(parent)
{
}

MyToolButton::~MyToolButton() = default;

void MyToolButton::mousePressEvent(QMouseEvent* event)
{
    if (!m_press.press(event, event->button() == Qt::LeftButton))
        return;
    setChecked(true);
    emit clicked(false);
}

void MyToolButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_press.press(event, event->button() == Qt::LeftButton))
        return;
    setChecked(true);
    emit clicked(true);
}

void MyToolButton::mouseMoveEvent(QMouseEvent* event)
{
    m_press.move(event);
}

void MyToolButton::mouseReleaseEvent(QMouseEvent* event)
{
    m_press.release(event);
}
