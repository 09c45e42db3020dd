#pragma once
#include <QPainter>
#include <QSize>

// Large surfaces: the notice dialogs, the configuration frame and the device-choice page.
namespace Backgrounds {

void dialog(QPainter& p, QSize s);
// The configuration frame; pageButtons is 5 with the lighting page, 4 without it.
void frame(QPainter& p, QSize s, int pageButtons);
void choicePage(QPainter& p, QSize s);
// The pairing dialog: a receiver and a mouse linked by waves on the left, text area beside it.
void pairingDialog(QPainter& p, QSize s);

}  // namespace Backgrounds
