#pragma once
// A click as the system delivers it: to the top-level window, at the control's place there, so
// that whatever stands on top of the control (or a filter of the window) sees it first.
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>

// A left click on `widget` at `pos` (its centre when left out).
inline void clickInWindow(QWidget* widget, QPoint pos = QPoint(-1, -1))
{
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, pos == QPoint(-1, -1) ? widget->rect().center() : pos);
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}
