#include "app/StandInMainWindow.h"

StandInMainWindow::StandInMainWindow(QWidget* parent)
    : QWidget(parent)
{
    resize(1020, 700);
    setWindowTitle(QStringLiteral("Kavro Mouse Software"));
}
